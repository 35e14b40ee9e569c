// A thread service for the component's tests: each task runs on a thread of its own, and the
// service claims two workers whatever the host has, so that large entries take the parallel
// deflate even on a host with one processor.
#pragma once

#include <functional>
#include <memory>
#include <thread>

#include "platform/thread_service.h"

namespace parcelon::testing {

class ThreadPerTask final : public platform::ThreadService {
 public:
  unsigned workers() const override { return 2; }

  std::unique_ptr<platform::PendingTask> start(std::function<void()> task) override {
    return std::make_unique<Running>(std::move(task));
  }

 private:
  class Running final : public platform::PendingTask {
   public:
    explicit Running(std::function<void()> task) : m_thread(std::move(task)) {}
    ~Running() override { wait(); }
    void wait() override {
      if (m_thread.joinable()) m_thread.join();
    }

   private:
    std::thread m_thread;
  };
};

}  // namespace parcelon::testing
