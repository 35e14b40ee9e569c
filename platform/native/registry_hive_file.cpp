#include "registry_hive_file.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "registry_file_reader.h"
#include "registry_file_writer.h"

namespace platform {
namespace {

Status writeFailure(int error) { return error == ENOSPC ? ERROR_DISK_FULL : ERROR_CANTWRITE; }

bool writeAll(int fd, const std::string& bytes) {
  std::size_t written = 0;
  while (written < bytes.size()) {
    const ssize_t count = ::write(fd, bytes.data() + written, bytes.size() - written);
    if (count < 0 && errno == EINTR) continue;
    if (count <= 0) return false;
    written += static_cast<std::size_t>(count);
  }
  return true;
}

bool readAll(int fd, std::string& bytes) {
  char buffer[65536];
  for (;;) {
    const ssize_t count = ::read(fd, buffer, sizeof buffer);
    if (count < 0 && errno == EINTR) continue;
    if (count < 0) return false;  // a directory gives EISDIR here
    if (count == 0) return true;
    bytes.append(buffer, static_cast<std::size_t>(count));
  }
}

// Makes the rename itself durable; a failure here leaves a correct file, so it is passed over.
void syncDirectory(const std::filesystem::path& directory) {
  const int fd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace

Result<std::unique_ptr<RegistryHive>> loadRegistryHiveFile(const std::filesystem::path& path,
                                                           std::string_view relativeTo,
                                                           FileTime now) {
  using Loaded = Result<std::unique_ptr<RegistryHive>>;
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0 && errno == ENOENT) return RegistryHive::create(relativeTo, now);
  if (fd < 0) return Loaded::failure(ERROR_CANTREAD, path.string() + ": it cannot be opened");
  std::string bytes;
  const bool ok = readAll(fd, bytes);
  ::close(fd);
  if (!ok) return Loaded::failure(ERROR_CANTREAD, path.string() + ": it cannot be read");
  auto hive = readRegistryFile(bytes, now);
  if (!hive) return Loaded::failure(hive.status(), path.string() + ": " + hive.subject());
  return hive;
}

Status saveRegistryHiveFile(const std::filesystem::path& path, const RegistryHive& hive) {
  const std::string bytes = formatRegistryFile(hive);
  std::string temporary = path.string() + ".XXXXXX";
  const int fd = ::mkstemp(temporary.data());
  if (fd < 0) return writeFailure(errno);

  // Keep the old file's permissions; a new one gets the usual 0644.
  struct stat old {};
  const mode_t mode = ::stat(path.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0644;
  bool ok = ::fchmod(fd, mode) == 0 && writeAll(fd, bytes) && ::fsync(fd) == 0;
  const int error = errno;
  ok = (::close(fd) == 0) && ok;
  if (ok && ::rename(temporary.c_str(), path.c_str()) == 0) {
    syncDirectory(path.parent_path().empty() ? "." : path.parent_path());
    return ERROR_SUCCESS;
  }
  const int failure = ok ? errno : error;
  ::unlink(temporary.c_str());
  return writeFailure(failure);
}

}  // namespace platform
