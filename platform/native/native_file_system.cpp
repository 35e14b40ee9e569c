#include "native_file_system.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <utility>

#include "dos_attributes.h"
#include "file_time.h"
#include "host_status.h"
#include "native_file.h"
#include "native_file_lock.h"
#include "platform/text_encoding.h"
#include "platform/wildcard.h"

namespace platform {
namespace {

namespace fs = std::filesystem;

// A missing name at the end is a missing file; a missing folder above it is a missing path.
Status notFound(const HostPath& path) {
  return path.missing > 1 ? ERROR_PATH_NOT_FOUND : ERROR_FILE_NOT_FOUND;
}

bool isReadOnlyEntry(const HostEntry& entry) {
  return (entry.entry.attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

Status removeFile(const fs::path& path) {
  return ::unlink(path.c_str()) == 0 ? ERROR_SUCCESS : statusFromErrno(errno);
}

WindowsPath startDirectory() {
  WindowsPath path;
  path.drive = 'C';
  return path;
}

struct OpenFlags {
  int flags;
  NativeFile::Access access;
};

OpenFlags openFlags(OpenMode mode) {
  switch (mode) {
    case OpenMode::Read:
      return {O_RDONLY, NativeFile::Access::Read};
    case OpenMode::ReadWrite:
      return {O_RDWR, NativeFile::Access::ReadWrite};
    case OpenMode::CreateTruncate:
      return {O_RDWR | O_CREAT | O_TRUNC, NativeFile::Access::ReadWrite};
    case OpenMode::CreateNew:
      return {O_RDWR | O_CREAT | O_EXCL, NativeFile::Access::ReadWrite};
    case OpenMode::Append:
      return {O_WRONLY | O_CREAT | O_APPEND, NativeFile::Access::Append};
  }
  return {O_RDONLY, NativeFile::Access::Read};
}

// Why a file cannot be opened in `mode`, before the host is asked.
Status checkOpen(const HostPath& path, OpenMode mode) {
  const auto info = path.exists() ? statHost(path.host) : std::nullopt;
  if (info && S_ISDIR(info->st_mode)) return ERROR_ACCESS_DENIED;
  const bool mustExist = mode == OpenMode::Read || mode == OpenMode::ReadWrite;
  if (!info && mustExist) return notFound(path);
  if (!info && !path.parentExists()) return ERROR_PATH_NOT_FOUND;
  if (info && mode == OpenMode::CreateNew) return ERROR_FILE_EXISTS;
  // NOTE: the tests and tools run as root, where the host would let us write anyway.
  if (info && mode != OpenMode::Read && isReadOnly(*info)) return ERROR_ACCESS_DENIED;
  return ERROR_SUCCESS;
}

}  // namespace

NativeFileSystem::NativeFileSystem(fs::path machineRoot, Registry* registry)
    : m_resolver(std::move(machineRoot)),
      m_drives(m_resolver, registry),
      m_current(startDirectory()) {}

Result<HostPath> NativeFileSystem::locate(const std::string& path, Wildcards wildcards) {
  auto parsed = parseWindowsPath(path, m_current, wildcards);
  if (!parsed) return Result<HostPath>::failure(parsed.status(), parsed.subject());
  return m_resolver.resolve(*parsed);
}

Result<HostPath> NativeFileSystem::existingFolder(const std::string& path) {
  auto found = locate(path.empty() ? currentDirectory() : path);
  if (!found) return found;
  if (!found->exists() || !isHostFolder(found->host)) {
    return Result<HostPath>::failure(ERROR_PATH_NOT_FOUND, path);
  }
  return found;
}

Result<std::vector<HostEntry>> NativeFileSystem::matching(const std::string& path, Kind kind) {
  const auto [folder, pattern] = splitLastName(path);
  if (!isValidName(pattern, Wildcards::AllowInLast)) {
    return Result<std::vector<HostEntry>>::failure(ERROR_INVALID_NAME, path);
  }
  auto into = existingFolder(folder);
  if (!into) return Result<std::vector<HostEntry>>::failure(into.status(), path);
  auto entries = listHostFolder(into->host);
  if (!entries) return entries;
  std::vector<HostEntry> found;
  for (HostEntry& entry : *entries) {
    if (entry.isFolder() == (kind == Kind::Folder) && matchesWildcard(pattern, entry.entry.name)) {
      found.push_back(std::move(entry));
    }
  }
  return found;
}

bool NativeFileSystem::fileExists(const std::string& path) {
  auto found = locate(path);
  return found && found->exists() && !isHostFolder(found->host) && statHost(found->host);
}

bool NativeFileSystem::folderExists(const std::string& path) {
  auto found = locate(path);
  return found && found->exists() && isHostFolder(found->host);
}

Result<FileInfo> NativeFileSystem::fileInfo(const std::string& path) {
  auto found = locate(path);
  if (!found) return Result<FileInfo>::failure(found.status(), found.subject());
  const auto entry = found->exists() ? hostEntry(found->host) : std::nullopt;
  if (!entry) return Result<FileInfo>::failure(notFound(*found), path);
  return FileInfo{entry->entry.size, entry->entry.lastWrite, entry->entry.attributes};
}

Result<FileIdentity> NativeFileSystem::identity(const std::string& path) {
  auto found = locate(path);
  if (!found) return found.failureAs<FileIdentity>();
  struct stat info {};
  if (!found->exists() || ::stat(found->host.c_str(), &info) != 0) {
    return Result<FileIdentity>::failure(notFound(*found), path);
  }
  return FileIdentity{static_cast<std::uint64_t>(info.st_dev),
                      static_cast<std::uint64_t>(info.st_ino)};
}

Status NativeFileSystem::setAttributes(const std::string& path, std::uint32_t attributes) {
  auto found = locate(path);
  if (!found) return found.status();
  if (!found->exists()) return notFound(*found);
  return writeDosAttributes(found->host, attributes);
}

Status NativeFileSystem::setLastWriteTime(const std::string& path, FileTime time) {
  auto found = locate(path);
  if (!found) return found.status();
  if (!found->exists()) return notFound(*found);
  const timespec times[2] = {{0, UTIME_OMIT}, timespecFromFileTime(time)};
  if (::utimensat(AT_FDCWD, found->host.c_str(), times, 0) != 0) return statusFromErrno(errno);
  return ERROR_SUCCESS;
}

Status NativeFileSystem::createFolder(const std::string& path) {
  auto found = locate(path);
  if (!found) return found.status();
  if (found->exists()) return ERROR_ALREADY_EXISTS;
  if (!found->parentExists()) return ERROR_PATH_NOT_FOUND;
  if (::mkdir(found->host.c_str(), 0777) != 0) return statusFromErrno(errno);
  return ERROR_SUCCESS;
}

Status NativeFileSystem::copyFileInto(const std::vector<HostEntry>& sources,
                                      const std::string& destination, Overwrite overwrite) {
  auto into = existingFolder(destination);
  if (!into) return into.status();
  for (const HostEntry& source : sources) {
    const fs::path target =
        copyTargetIn(m_resolver.names(), into->host, source.entry.name, source.host);
    RETURN_IF_FAILED(copyHostFile(source.host, target, overwrite));
  }
  return ERROR_SUCCESS;
}

Status NativeFileSystem::copyFile(const std::string& source, const std::string& destination,
                                  Overwrite overwrite) {
  if (hasWildcards(splitLastName(source).second)) {
    auto sources = matching(source, Kind::File);
    if (!sources) return sources.status();
    if (sources->empty()) return ERROR_FILE_NOT_FOUND;
    return copyFileInto(*sources, destination, overwrite);
  }
  auto from = locate(source);
  if (!from) return from.status();
  const auto entry = from->exists() ? hostEntry(from->host) : std::nullopt;
  if (!entry) return notFound(*from);
  if (entry->isFolder()) return ERROR_FILE_NOT_FOUND;
  if (endsWithSeparator(destination)) return copyFileInto({*entry}, destination, overwrite);
  auto to = locate(destination);
  if (!to) return to.status();
  if (!to->parentExists()) return ERROR_PATH_NOT_FOUND;
  return copyHostFile(from->host, to->host, overwrite);
}

Status NativeFileSystem::copyFolder(const std::string& source, const std::string& destination,
                                    Overwrite overwrite) {
  if (hasWildcards(splitLastName(source).second)) {
    auto sources = matching(source, Kind::Folder);
    if (!sources) return sources.status();
    if (sources->empty()) return ERROR_PATH_NOT_FOUND;
    auto into = existingFolder(destination);
    if (!into) return into.status();
    for (const HostEntry& folder : *sources) {
      const fs::path target =
          copyTargetIn(m_resolver.names(), into->host, folder.entry.name, folder.host);
      const Status status = copyHostTree(m_resolver.names(), folder.host, target, overwrite);
      if (status.failed()) return status;
    }
    return ERROR_SUCCESS;
  }
  auto from = existingFolder(source);
  if (!from) return from.status();
  fs::path target;
  if (endsWithSeparator(destination)) {
    if (from->windows.isRoot()) return ERROR_ACCESS_DENIED;  // a drive has no name to copy under
    auto into = existingFolder(destination);
    if (!into) return into.status();
    target = copyTargetIn(m_resolver.names(), into->host, from->windows.names.back(), from->host);
  } else {
    auto to = locate(destination);
    if (!to) return to.status();
    if (!to->parentExists()) return ERROR_PATH_NOT_FOUND;
    target = to->host;
  }
  return copyHostTree(m_resolver.names(), from->host, target, overwrite);
}

Status NativeFileSystem::deleteFile(const std::string& path, Force force) {
  std::vector<HostEntry> victims;
  if (hasWildcards(splitLastName(path).second)) {
    auto found = matching(path, Kind::File);
    if (!found) return found.status();
    victims = std::move(found).value();
  } else {
    auto found = locate(path);
    if (!found) return found.status();
    auto entry = found->exists() ? hostEntry(found->host) : std::nullopt;
    if (!entry) return notFound(*found);
    if (!entry->isFolder()) victims.push_back(std::move(*entry));
  }
  if (victims.empty()) return ERROR_FILE_NOT_FOUND;
  // Refuse before removing anything, so that a refused delete leaves every file in place.
  if (force == Force::No) {
    for (const HostEntry& victim : victims) {
      if (isReadOnlyEntry(victim)) return ERROR_ACCESS_DENIED;
    }
  }
  for (const HostEntry& victim : victims) {
    RETURN_IF_FAILED(removeFile(victim.host));
  }
  return ERROR_SUCCESS;
}

Status NativeFileSystem::deleteFolder(const std::string& path, Force force) {
  std::vector<HostEntry> victims;
  if (hasWildcards(splitLastName(path).second)) {
    auto found = matching(path, Kind::Folder);
    if (!found) return found.status();
    victims = std::move(found).value();
  } else {
    auto found = existingFolder(path);
    if (!found) return found.status();
    if (found->windows.isRoot()) return ERROR_ACCESS_DENIED;  // never a whole drive or share
    if (auto entry = hostEntry(found->host)) victims.push_back(std::move(*entry));
  }
  if (victims.empty()) return ERROR_PATH_NOT_FOUND;
  if (force == Force::No) {
    for (const HostEntry& victim : victims) {
      if (hostTreeHasReadOnlyFile(victim.host)) return ERROR_ACCESS_DENIED;
    }
  }
  for (const HostEntry& victim : victims) {
    RETURN_IF_FAILED(removeHostTree(victim.host));
  }
  return ERROR_SUCCESS;
}

Status NativeFileSystem::moveFile(const std::string& source, const std::string& destination,
                                  Overwrite overwrite) {
  auto from = locate(source);
  if (!from) return from.status();
  if (!from->exists()) return notFound(*from);
  if (from->windows.isRoot()) return ERROR_ACCESS_DENIED;  // a drive is no folder to move
  auto given = parseWindowsPath(destination, m_current);
  if (!given) return given.status();
  auto to = m_resolver.resolve(*given);
  if (!to) return to.status();
  if (!to->parentExists()) return ERROR_PATH_NOT_FOUND;
  fs::path target = to->host;
  if (to->exists() && isSameHostFile(from->host, to->host)) {
    if (given->isRoot()) return ERROR_ACCESS_DENIED;
    // The same entry under another case: a rename to the case given.
    target = to->host.parent_path() / ansiToUtf8(given->names.back());
  } else if (to->exists()) {
    if (overwrite == Overwrite::No) return ERROR_ALREADY_EXISTS;
    const auto existing = statHost(to->host);
    if (!existing || S_ISDIR(existing->st_mode) || isHostFolder(from->host) ||
        isReadOnly(*existing)) {
      return ERROR_ACCESS_DENIED;
    }
  }
  if (::rename(from->host.c_str(), target.c_str()) == 0) return ERROR_SUCCESS;
  if (errno != EXDEV || isHostFolder(from->host)) return statusFromErrno(errno);
  // Another host file system: copy, then remove the original once the copy stands.
  const Status copied = copyHostFile(from->host, target, Overwrite::Yes);
  return copied.ok() ? removeFile(from->host) : copied;
}

Result<std::vector<DirectoryEntry>> NativeFileSystem::listFolder(const std::string& folder,
                                                                 const std::string& pattern) {
  using Listing = Result<std::vector<DirectoryEntry>>;
  const std::string wanted = pattern.empty() ? "*" : pattern;
  if (!isValidName(wanted, Wildcards::AllowInLast)) {
    return Listing::failure(ERROR_INVALID_NAME, pattern);
  }
  return listFolderWhere(
      folder, [&wanted](std::string_view name, bool) { return matchesWildcard(wanted, name); });
}

Result<std::vector<DirectoryEntry>> NativeFileSystem::listFolderWhere(const std::string& folder,
                                                                      const EntryFilter& wanted) {
  using Listing = Result<std::vector<DirectoryEntry>>;
  auto into = existingFolder(folder);
  if (!into) return Listing::failure(into.status(), folder);
  auto entries = listHostFolder(into->host, wanted);
  if (!entries) return Listing::failure(entries.status(), folder);
  std::vector<DirectoryEntry> out;
  out.reserve(entries->size());
  for (HostEntry& entry : *entries) out.push_back(std::move(entry.entry));
  return out;
}

Result<std::unique_ptr<File>> NativeFileSystem::openFile(const std::string& path, OpenMode mode) {
  using Opened = Result<std::unique_ptr<File>>;
  auto found = locate(path);
  if (!found) return Opened::failure(found.status(), found.subject());
  if (const Status status = checkOpen(*found, mode); status.failed()) {
    return Opened::failure(status, path);
  }
  const OpenFlags how = openFlags(mode);
  const int descriptor = ::open(found->host.c_str(), how.flags | O_CLOEXEC, 0666);
  if (descriptor < 0) {
    const Status status = errno == EEXIST ? ERROR_FILE_EXISTS : statusFromErrno(errno);
    return Opened::failure(status, path);
  }
  return std::unique_ptr<File>(std::make_unique<NativeFile>(descriptor, how.access));
}

Result<std::unique_ptr<FileLock>> NativeFileSystem::lockFile(const std::string& path) {
  using Locked = Result<std::unique_ptr<FileLock>>;
  auto found = locate(path);
  if (!found) return Locked::failure(found.status(), found.subject());
  if (found->exists() && isHostFolder(found->host)) {
    return Locked::failure(ERROR_ACCESS_DENIED, path);
  }
  if (!found->exists() && !found->parentExists()) {
    return Locked::failure(ERROR_PATH_NOT_FOUND, path);
  }
  auto locked = NativeFileLock::acquire(found->host);
  if (!locked) return Locked::failure(locked.status(), path);
  return locked;
}

Result<std::string> NativeFileSystem::fullPath(const std::string& path) {
  auto parsed = parseWindowsPath(path, m_current);
  if (!parsed) return Result<std::string>::failure(parsed.status(), parsed.subject());
  auto found = m_resolver.resolve(*parsed);
  // Like GetFullPathName, a path need not exist: what cannot be looked up keeps its case.
  return found ? found->windows.text() : parsed->text();
}

std::string NativeFileSystem::currentDirectory() { return m_current.text(); }

Status NativeFileSystem::setCurrentDirectory(const std::string& path) {
  auto found = locate(path);
  if (!found) return found.status();
  if (!found->exists()) return notFound(*found);
  if (!isHostFolder(found->host)) return ERROR_DIRECTORY;
  m_current = found->windows;
  return ERROR_SUCCESS;
}

Result<std::string> NativeFileSystem::createTemporaryFile(const std::string& folder,
                                                          const std::string& prefix) {
  using Created = Result<std::string>;
  // NOTE: the prefix becomes part of a host name as it is: a separator in it ("../") would
  // place the file outside the folder, even outside the machine's drives.
  const bool separator = prefix.find_first_of("\\/") != std::string::npos;
  if (separator || !isValidName(prefix, Wildcards::Refuse)) {
    return Created::failure(ERROR_INVALID_NAME, prefix);
  }
  auto into = existingFolder(folder);
  if (!into) return Created::failure(into.status(), folder);
  constexpr unsigned kNames = 0xFFFF;
  for (unsigned attempt = 0; attempt < kNames; ++attempt) {
    const unsigned number = m_nextTemporary;
    m_nextTemporary = m_nextTemporary % kNames + 1;  // 1 to FFFF, as GetTempFileName counts
    char suffix[16];
    std::snprintf(suffix, sizeof suffix, "%X.tmp", number);
    const std::string name = prefix.substr(0, 3) + suffix;
    if (!m_resolver.names().find(into->host, name).empty()) continue;
    const fs::path host = into->host / ansiToUtf8(name);
    const int descriptor = ::open(host.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (descriptor < 0 && errno == EEXIST) continue;
    if (descriptor < 0) return Created::failure(statusFromErrno(errno), folder);
    ::close(descriptor);
    return into->windows.child(name).text();
  }
  return Created::failure(ERROR_FILE_EXISTS, folder);
}

std::vector<DriveInfo> NativeFileSystem::drives() { return m_drives.drives(); }

Result<DriveInfo> NativeFileSystem::drive(char letter) { return m_drives.drive(letter); }

}  // namespace platform
