// The thread service over CreateThread, a critical section, a semaphore that counts queued
// tasks and an event per task: the Windows build's compiler runtime has no std::thread. A small
// pool with one worker per processor (at most kMaxWorkers), started at the first task; tasks run
// in the order they were started.
#pragma once

#include <memory>
#include <vector>

#include "platform/thread_service.h"

namespace platform {

class Win32ThreadService final : public ThreadService {
 public:
  static constexpr unsigned kMaxWorkers = 8;

  // `workers` 0 takes the machine's processor count.
  explicit Win32ThreadService(unsigned workers = 0);
  // Runs what is still queued, then ends the workers.
  ~Win32ThreadService() override;
  Win32ThreadService(const Win32ThreadService&) = delete;
  Win32ThreadService& operator=(const Win32ThreadService&) = delete;

  unsigned workers() const override { return m_workers; }
  std::unique_ptr<PendingTask> start(std::function<void()> task) override;

 private:
  struct Queue;

  void startWorkers();
  static unsigned long __stdcall workerMain(void* service);
  void work();

  unsigned m_workers;
  std::unique_ptr<Queue> m_queue;
  std::vector<void*> m_threads;  // thread handles
};

}  // namespace platform
