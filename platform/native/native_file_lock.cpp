#include "native_file_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

#include "host_status.h"

namespace platform {

Result<std::unique_ptr<FileLock>> NativeFileLock::acquire(const std::filesystem::path& host) {
  using Locked = Result<std::unique_ptr<FileLock>>;
  // Read access is enough to lock, so a lock file left read-only still serves.
  const int descriptor = ::open(host.c_str(), O_RDONLY | O_CREAT | O_CLOEXEC, 0666);
  if (descriptor < 0) return Locked::failure(statusFromErrno(errno));
  int locked = 0;
  do {
    locked = ::flock(descriptor, LOCK_EX | LOCK_NB);
  } while (locked != 0 && errno == EINTR);
  if (locked != 0) {
    const int error = errno;
    ::close(descriptor);
    return Locked::failure(error == EWOULDBLOCK ? ERROR_SHARING_VIOLATION : statusFromErrno(error));
  }
  return std::unique_ptr<FileLock>(new NativeFileLock(descriptor));
}

// Closing the descriptor releases the lock.
NativeFileLock::~NativeFileLock() { ::close(m_descriptor); }

}  // namespace platform
