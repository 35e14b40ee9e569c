// A lock one holder at a time keeps on a file, so that two runs of a program never work on the
// same place at once. Other processes and other holders in this process are kept out alike.
// The operating system drops the lock when its process ends, however it ends: a crashed run
// never blocks the next one.
#pragma once

namespace platform {

// Held for its lifetime; the lock file itself stays where it is.
class FileLock {
 public:
  virtual ~FileLock() = default;
};

}  // namespace platform
