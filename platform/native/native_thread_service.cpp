#include "native_thread_service.h"

#include <algorithm>
#include <system_error>
#include <utility>

namespace platform {

struct NativeThreadService::Task {
  std::function<void()> run;
  bool done = false;
};

class NativeThreadService::Pending final : public PendingTask {
 public:
  Pending(NativeThreadService& service, std::shared_ptr<Task> task)
      : m_service(service), m_task(std::move(task)) {}
  ~Pending() override { wait(); }

  void wait() override {
    std::unique_lock lock(m_service.m_mutex);
    m_service.m_done.wait(lock, [this] { return m_task->done; });
  }

 private:
  NativeThreadService& m_service;
  std::shared_ptr<Task> m_task;
};

// A task that ran on the caller's thread: there is nothing to wait for.
class RanAlready final : public PendingTask {
 public:
  void wait() override {}
};

NativeThreadService::NativeThreadService(unsigned workers) : m_workers(workers) {
  if (m_workers == 0) m_workers = std::thread::hardware_concurrency();
  m_workers = std::clamp(m_workers, 1u, kMaxWorkers);
}

NativeThreadService::~NativeThreadService() {
  {
    std::lock_guard lock(m_mutex);
    m_stopping = true;
  }
  m_queued.notify_all();
  for (std::thread& thread : m_threads) thread.join();
}

void NativeThreadService::startWorkers() {
  try {
    while (m_threads.size() < m_workers) m_threads.emplace_back([this] { work(); });
  } catch (const std::system_error&) {
    // NOTE: the host would give no more threads: the ones started do the work.
  }
}

std::unique_ptr<PendingTask> NativeThreadService::start(std::function<void()> task) {
  if (m_threads.empty()) startWorkers();
  if (m_threads.empty()) {
    task();
    return std::make_unique<RanAlready>();
  }
  auto queued = std::make_shared<Task>();
  queued->run = std::move(task);
  {
    std::lock_guard lock(m_mutex);
    m_queue.push_back(queued);
  }
  m_queued.notify_one();
  return std::make_unique<Pending>(*this, std::move(queued));
}

void NativeThreadService::work() {
  std::unique_lock lock(m_mutex);
  for (;;) {
    m_queued.wait(lock, [this] { return m_stopping || !m_queue.empty(); });
    if (m_queue.empty()) return;  // stopping, and nothing left to run
    std::shared_ptr<Task> task = std::move(m_queue.front());
    m_queue.pop_front();
    lock.unlock();
    try {
      task->run();
    } catch (...) {
      // NOTE: a task reports its failures through its own data; one that throws all the same
      // ends there rather than taking the program down with the worker.
    }
    task->run = nullptr;  // what the task held goes now, not with the last handle
    lock.lock();
    task->done = true;
    m_done.notify_all();
  }
}

}  // namespace platform
