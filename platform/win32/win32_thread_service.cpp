#include "win32_thread_service.h"

#include <algorithm>
#include <deque>

#include "windows_api.h"

namespace platform {
namespace {

struct Task {
  std::function<void()> run;
  ::HANDLE done = nullptr;  // manual-reset: set once the task has run
};

class Pending final : public PendingTask {
 public:
  explicit Pending(std::shared_ptr<Task> task) : m_task(std::move(task)) {}
  ~Pending() override {
    wait();
    ::CloseHandle(m_task->done);
  }
  Pending(const Pending&) = delete;
  Pending& operator=(const Pending&) = delete;
  void wait() override { ::WaitForSingleObject(m_task->done, INFINITE); }

 private:
  std::shared_ptr<Task> m_task;
};

// A task that ran on the caller's thread: there is nothing to wait for.
class RanAlready final : public PendingTask {
 public:
  void wait() override {}
};

unsigned processorCount() {
  ::SYSTEM_INFO info;
  ::GetSystemInfo(&info);
  return static_cast<unsigned>(info.dwNumberOfProcessors);
}

// Holds the critical section for its lifetime.
class Locked {
 public:
  explicit Locked(::CRITICAL_SECTION& section) : m_section(section) {
    ::EnterCriticalSection(&m_section);
  }
  ~Locked() { ::LeaveCriticalSection(&m_section); }
  Locked(const Locked&) = delete;
  Locked& operator=(const Locked&) = delete;

 private:
  ::CRITICAL_SECTION& m_section;
};

}  // namespace

struct Win32ThreadService::Queue {
  Queue() { ::InitializeCriticalSection(&section); }
  ~Queue() {
    ::CloseHandle(queued);
    ::DeleteCriticalSection(&section);
  }
  Queue(const Queue&) = delete;
  Queue& operator=(const Queue&) = delete;

  ::CRITICAL_SECTION section;
  // One count per queued task, and one per worker when the pool ends.
  ::HANDLE queued = ::CreateSemaphoreA(nullptr, 0, 0x7FFFFFFF, nullptr);
  std::deque<std::shared_ptr<Task>> tasks;
  bool stopping = false;
};

Win32ThreadService::Win32ThreadService(unsigned workers)
    : m_workers(std::clamp(workers != 0 ? workers : processorCount(), 1u, kMaxWorkers)),
      m_queue(std::make_unique<Queue>()) {}

Win32ThreadService::~Win32ThreadService() {
  {
    const Locked lock(m_queue->section);
    m_queue->stopping = true;
  }
  if (!m_threads.empty()) {
    ::ReleaseSemaphore(m_queue->queued, static_cast<::LONG>(m_threads.size()), nullptr);
  }
  for (void* thread : m_threads) {
    ::WaitForSingleObject(thread, INFINITE);
    ::CloseHandle(thread);
  }
}

unsigned long __stdcall Win32ThreadService::workerMain(void* service) {
  static_cast<Win32ThreadService*>(service)->work();
  return 0;
}

void Win32ThreadService::startWorkers() {
  if (m_queue->queued == nullptr) return;
  while (m_threads.size() < m_workers) {
    ::HANDLE thread = ::CreateThread(nullptr, 0, &workerMain, this, 0, nullptr);
    // NOTE: when Windows gives no more threads, the ones started do the work.
    if (thread == nullptr) break;
    m_threads.push_back(thread);
  }
}

std::unique_ptr<PendingTask> Win32ThreadService::start(std::function<void()> task) {
  if (m_threads.empty()) startWorkers();
  auto queued = std::make_shared<Task>();
  if (!m_threads.empty()) queued->done = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
  if (m_threads.empty() || queued->done == nullptr) {
    task();
    return std::make_unique<RanAlready>();
  }
  queued->run = std::move(task);
  {
    const Locked lock(m_queue->section);
    m_queue->tasks.push_back(queued);
  }
  ::ReleaseSemaphore(m_queue->queued, 1, nullptr);
  return std::make_unique<Pending>(std::move(queued));
}

void Win32ThreadService::work() {
  for (;;) {
    ::WaitForSingleObject(m_queue->queued, INFINITE);
    std::shared_ptr<Task> task;
    {
      const Locked lock(m_queue->section);
      // A worker may have taken this count's task along with its own; a count without a task
      // after the pool began to end is the end, what was queued before having run first.
      if (m_queue->tasks.empty()) {
        if (m_queue->stopping) return;
        continue;
      }
      task = std::move(m_queue->tasks.front());
      m_queue->tasks.pop_front();
    }
    try {
      task->run();
    } catch (...) {
      // NOTE: a task reports its failures through its own data; one that throws all the same
      // ends there rather than taking the program down with the worker.
    }
    task->run = nullptr;  // what the task held goes now, not with the last handle
    ::SetEvent(task->done);
  }
}

}  // namespace platform
