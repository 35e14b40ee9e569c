// Work on other threads, for the few jobs that gain from every processor (deflating a large
// file). Kept small so that each backend can offer it over its own threads: the native one over
// std::thread, the Win32 one over CreateThread (its compiler's runtime has no std::thread).
// A task gets its data from the caller and hands back its results through it; it must not call
// the platform's other services (files, registry), which belong to the caller's thread. Tasks
// are started from one thread at a time, and every handle goes before the service does.
#pragma once

#include <functional>
#include <memory>

namespace platform {

// A task handed to the service.
class PendingTask {
 public:
  // Waits for the task when it has not been waited for, so that nothing it uses goes away
  // while it runs.
  virtual ~PendingTask() = default;
  // Returns once the task has run; everything the task wrote is then visible to the caller.
  virtual void wait() = 0;
};

class ThreadService {
 public:
  virtual ~ThreadService() = default;
  // How many tasks run at the same time at most (the processors the service uses). With 1,
  // handing work to the service gains nothing.
  virtual unsigned workers() const = 0;
  // Runs `task` on a worker thread, after the tasks started before it. When no thread can be
  // had, the task runs on the caller's thread before this returns.
  virtual std::unique_ptr<PendingTask> start(std::function<void()> task) = 0;
};

}  // namespace platform
