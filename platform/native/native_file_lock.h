// The native machine's file lock: flock on a descriptor of the lock file. flock belongs to the
// open file, not to the process, so a second holder in this same process is kept out as well,
// and the kernel drops it when the descriptor closes or the process dies.
#pragma once

#include <filesystem>
#include <memory>

#include "platform/file_lock.h"
#include "platform/status.h"

namespace platform {

class NativeFileLock final : public FileLock {
 public:
  // Creates the host file when missing and locks it without waiting; ERROR_SHARING_VIOLATION
  // while another holder has it.
  static Result<std::unique_ptr<FileLock>> acquire(const std::filesystem::path& host);
  ~NativeFileLock() override;
  NativeFileLock(const NativeFileLock&) = delete;
  NativeFileLock& operator=(const NativeFileLock&) = delete;

 private:
  explicit NativeFileLock(int descriptor) : m_descriptor(descriptor) {}
  int m_descriptor;
};

}  // namespace platform
