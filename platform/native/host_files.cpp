#include "host_files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <system_error>

#include "dos_attributes.h"
#include "file_time.h"
#include "folder_index.h"
#include "host_status.h"
#include "platform/text_encoding.h"

namespace platform {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kCopyChunk = 256 * 1024;
constexpr const char* kDosAttributeName = "user.DOSATTRIB";
constexpr std::size_t kTemporaryStemLength = 32;

// Closes a descriptor when it goes out of scope.
class Descriptor {
 public:
  explicit Descriptor(int fd) : m_fd(fd) {}
  ~Descriptor() {
    if (m_fd >= 0) ::close(m_fd);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return m_fd; }
  [[nodiscard]] Status close() {
    const int result = ::close(m_fd);
    m_fd = -1;
    return result == 0 ? ERROR_SUCCESS : ERROR_WRITE_FAULT;
  }

 private:
  int m_fd;
};

Status copyContents(int from, int to) {
  std::vector<char> buffer(kCopyChunk);
  for (;;) {
    const ssize_t got = ::read(from, buffer.data(), buffer.size());
    if (got < 0) {
      if (errno == EINTR) continue;
      return ERROR_READ_FAULT;
    }
    if (got == 0) return ERROR_SUCCESS;
    for (ssize_t done = 0; done < got;) {
      const ssize_t put = ::write(to, buffer.data() + done, static_cast<std::size_t>(got - done));
      if (put < 0 && errno == EINTR) continue;
      if (put < 0) return errno == ENOSPC || errno == EDQUOT ? ERROR_DISK_FULL : ERROR_WRITE_FAULT;
      done += put;
    }
  }
}

// The hidden and system flags travel with a copy, as Windows' CopyFile keeps attributes.
void copyDosAttributeText(const fs::path& source, int target) {
  char text[32];
  const ssize_t size = ::getxattr(source.c_str(), kDosAttributeName, text, sizeof text);
  // NOTE: a host without extended attributes just loses the flags, as Wine's copies would.
  if (size > 0) ::fsetxattr(target, kDosAttributeName, text, static_cast<std::size_t>(size), 0);
}

Status writeCopy(const fs::path& source, const fs::path& target) {
  Descriptor in(::open(source.c_str(), O_RDONLY | O_CLOEXEC));
  if (in.get() < 0) return statusFromErrno(errno);
  struct stat info {};
  if (::fstat(in.get(), &info) != 0) return statusFromErrno(errno);

  // NOTE: only the start of the name goes into the temporary one: a name near the host's limit
  // of 255 bytes would otherwise leave no room for the suffix, and the copy would fail.
  const std::string stem = target.filename().string().substr(0, kTemporaryStemLength);
  std::string temporary = (target.parent_path() / ("." + stem + ".copy-XXXXXX")).string();
  Descriptor out(::mkstemp(temporary.data()));
  if (out.get() < 0) return statusFromErrno(errno);
  Status status = copyContents(in.get(), out.get());
  if (status.ok()) {
    copyDosAttributeText(source, out.get());
    const timespec times[2] = {info.st_atim, info.st_mtim};
    if (::fchmod(out.get(), info.st_mode & 07777) != 0 || ::futimens(out.get(), times) != 0) {
      status = statusFromErrno(errno);
    }
  }
  if (const Status closed = out.close(); status.ok()) status = closed;
  if (status.ok() && ::rename(temporary.c_str(), target.c_str()) != 0) {
    status = statusFromErrno(errno);
  }
  if (status.failed()) ::unlink(temporary.c_str());  // the partial copy, never the target
  return status;
}

// stat() of an entry of an open folder, or lstat() of a link whose target is gone.
bool statAt(int folder, const char* name, struct stat& info) {
  return ::fstatat(folder, name, &info, 0) == 0 ||
         ::fstatat(folder, name, &info, AT_SYMLINK_NOFOLLOW) == 0;
}

bool isLink(const fs::path& path) {
  struct stat info {};
  return ::lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode);
}

}  // namespace

fs::path findHostEntry(const fs::path& folder, const std::string& name) {
  const fs::path exact = folder / ansiToUtf8(name);
  struct stat info {};
  if (::lstat(exact.c_str(), &info) == 0) return exact;
  std::error_code error;
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    if (ansiEqualNoCase(utf8ToAnsi(it->path().filename().string()), name)) return it->path();
  }
  return {};
}

fs::path copyTargetIn(FolderIndex& names, const fs::path& folder, const std::string& name,
                      const fs::path& source) {
  fs::path found = names.find(folder, name);
  return found.empty() ? folder / source.filename() : found;
}

std::optional<struct stat> statHost(const fs::path& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) == 0 || ::lstat(path.c_str(), &info) == 0) return info;
  return std::nullopt;
}

bool isHostFolder(const fs::path& path) {
  const auto info = statHost(path);
  return info && S_ISDIR(info->st_mode);
}

bool isSameHostFile(const fs::path& a, const fs::path& b) {
  const auto first = statHost(a);
  const auto second = statHost(b);
  return first && second && first->st_dev == second->st_dev && first->st_ino == second->st_ino;
}

bool isInsideHostFolder(const fs::path& inner, const fs::path& outer) {
  std::error_code error;
  const fs::path in = fs::weakly_canonical(inner, error);
  if (error) return false;
  const fs::path out = fs::weakly_canonical(outer, error);
  if (error) return false;
  const auto [outEnd, inPos] = std::mismatch(out.begin(), out.end(), in.begin(), in.end());
  return outEnd == out.end();
}

std::optional<HostEntry> hostEntry(const fs::path& path) {
  const auto info = statHost(path);
  if (!info) return std::nullopt;
  HostEntry item;
  item.host = path;
  item.entry.name = utf8ToAnsi(path.filename().string());
  item.entry.attributes = readDosAttributes(path, *info);
  item.entry.size = S_ISDIR(info->st_mode) ? 0 : static_cast<std::uint64_t>(info->st_size);
  item.entry.lastWrite = fileTimeFromTimespec(info->st_mtim);
  return item;
}

Result<std::vector<HostEntry>> listHostFolder(const fs::path& folder, const EntryFilter& wanted) {
  using Listing = Result<std::vector<HostEntry>>;
  DIR* directory = ::opendir(folder.c_str());
  if (directory == nullptr) return Listing::failure(ERROR_PATH_NOT_FOUND);
  const int descriptor = ::dirfd(directory);
  std::vector<HostEntry> entries;
  bool readFailed = false;
  for (;;) {
    errno = 0;
    const dirent* item = ::readdir(directory);
    if (item == nullptr) {
      readFailed = errno != 0;
      break;
    }
    const std::string_view hostName = item->d_name;
    if (hostName == "." || hostName == "..") continue;
    // NOTE: entries are looked at relative to the open folder: a full path per entry made the
    // kernel walk the whole path again for each one.
    struct stat info {};
    bool known = false;
    bool folderEntry = item->d_type == DT_DIR;
    if (item->d_type == DT_UNKNOWN || item->d_type == DT_LNK) {
      known = statAt(descriptor, item->d_name, info);
      if (!known) continue;  // removed while we looked
      folderEntry = S_ISDIR(info.st_mode);
    }
    std::string name = utf8ToAnsi(hostName);
    if (wanted && !wanted(name, folderEntry)) continue;
    if (!known && !statAt(descriptor, item->d_name, info)) continue;
    HostEntry entry;
    entry.host = folder / item->d_name;
    entry.entry.name = std::move(name);
    entry.entry.attributes = readDosAttributes(entry.host, info);
    entry.entry.size = S_ISDIR(info.st_mode) ? 0 : static_cast<std::uint64_t>(info.st_size);
    entry.entry.lastWrite = fileTimeFromTimespec(info.st_mtim);
    entries.push_back(std::move(entry));
  }
  ::closedir(directory);
  if (readFailed) return Listing::failure(ERROR_READ_FAULT);
  std::sort(entries.begin(), entries.end(), [](const HostEntry& a, const HostEntry& b) {
    if (ansiLessNoCase(a.entry.name, b.entry.name)) return true;
    if (ansiLessNoCase(b.entry.name, a.entry.name)) return false;
    return a.host.filename() < b.host.filename();  // names equal but for case: keep an order
  });
  return entries;
}

Status copyHostFile(const fs::path& source, const fs::path& target, Overwrite overwrite) {
  if (const auto existing = statHost(target)) {
    if (S_ISDIR(existing->st_mode) || isSameHostFile(source, target)) return ERROR_ACCESS_DENIED;
    if (overwrite == Overwrite::No) return ERROR_FILE_EXISTS;
    if (isReadOnly(*existing)) return ERROR_ACCESS_DENIED;
  }
  return writeCopy(source, target);
}

Status copyHostTree(FolderIndex& names, const fs::path& source, const fs::path& target,
                    Overwrite overwrite) {
  if (isInsideHostFolder(target, source)) return ERROR_ACCESS_DENIED;  // would copy forever
  // The listing is taken before the target exists, so the copy never sees itself.
  auto entries = listHostFolder(source);
  if (!entries) return entries.status();
  if (const auto existing = statHost(target)) {
    if (!S_ISDIR(existing->st_mode)) return ERROR_ACCESS_DENIED;
  } else {
    if (::mkdir(target.c_str(), 0777) != 0) return statusFromErrno(errno);
    const auto info = statHost(source);
    const std::uint32_t attributes = info ? readDosAttributes(source, *info) : 0;
    if (attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) {
      ignoreFailure(writeDosAttributes(target, attributes), "flags only; the copy stands");
    }
  }
  for (const HostEntry& entry : *entries) {
    const fs::path into = copyTargetIn(names, target, entry.entry.name, entry.host);
    RETURN_IF_FAILED(entry.isFolder() ? copyHostTree(names, entry.host, into, overwrite)
                                      : copyHostFile(entry.host, into, overwrite));
  }
  return ERROR_SUCCESS;
}

bool hostTreeHasReadOnlyFile(const fs::path& folder) {
  auto entries = listHostFolder(folder);
  if (!entries) return false;
  for (const HostEntry& entry : *entries) {
    if (isLink(entry.host)) continue;  // removing a link never touches what it points to
    if (entry.isFolder() ? hostTreeHasReadOnlyFile(entry.host)
                         : (entry.entry.attributes & FILE_ATTRIBUTE_READONLY) != 0) {
      return true;
    }
  }
  return false;
}

Status removeHostTree(const fs::path& folder) {
  if (isLink(folder)) return ::unlink(folder.c_str()) == 0 ? ERROR_SUCCESS : statusFromErrno(errno);
  auto entries = listHostFolder(folder);
  if (!entries) return entries.status();
  for (const HostEntry& entry : *entries) {
    const bool descend = entry.isFolder() && !isLink(entry.host);
    const Status status =
        descend ? removeHostTree(entry.host)
                : (::unlink(entry.host.c_str()) == 0 ? ERROR_SUCCESS : statusFromErrno(errno));
    if (status.failed()) return status;
  }
  return ::rmdir(folder.c_str()) == 0 ? ERROR_SUCCESS : statusFromErrno(errno);
}

}  // namespace platform
