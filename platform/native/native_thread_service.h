// The thread service over std::thread: a small pool with one worker per processor (at most
// kMaxWorkers), started at the first task, so that machines that never hand work over start
// no thread at all. Tasks run in the order they were started.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/thread_service.h"

namespace platform {

class NativeThreadService final : public ThreadService {
 public:
  static constexpr unsigned kMaxWorkers = 8;

  // `workers` 0 takes the host's processor count.
  explicit NativeThreadService(unsigned workers = 0);
  // Runs what is still queued, then ends the workers.
  ~NativeThreadService() override;
  NativeThreadService(const NativeThreadService&) = delete;
  NativeThreadService& operator=(const NativeThreadService&) = delete;

  unsigned workers() const override { return m_workers; }
  std::unique_ptr<PendingTask> start(std::function<void()> task) override;

 private:
  struct Task;
  class Pending;

  void startWorkers();
  void work();

  unsigned m_workers;
  std::mutex m_mutex;
  std::condition_variable m_queued;  // a task was queued, or the pool ends
  std::condition_variable m_done;    // a task has run
  std::deque<std::shared_ptr<Task>> m_queue;
  std::vector<std::thread> m_threads;
  bool m_stopping = false;
};

}  // namespace platform
