#include "win32_file_system.h"

#include <algorithm>
#include <cstring>
#include <optional>

#include "platform/text_encoding.h"
#include "platform/wildcard.h"
#include "win32_file.h"
#include "win32_status.h"
#include "windows_api.h"

namespace platform {
namespace {

using Listing = Result<std::vector<DirectoryEntry>>;

constexpr std::uint32_t kSettableAttributes =
    FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE;

FileTime fromFileTime(const ::FILETIME& time) {
  return (static_cast<FileTime>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

::FILETIME toFileTime(FileTime time) {
  ::FILETIME result;
  result.dwLowDateTime = static_cast<::DWORD>(time & 0xFFFFFFFFu);
  result.dwHighDateTime = static_cast<::DWORD>(time >> 32);
  return result;
}

std::string withSeparator(const WindowsPath& folder) {
  std::string text = folder.text();
  if (text.empty() || text.back() != '\\') text += '\\';
  return text;
}

bool isFolder(const DirectoryEntry& entry) {
  return (entry.attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

DirectoryEntry entryOf(const ::WIN32_FIND_DATAA& found) {
  DirectoryEntry entry;
  entry.name = found.cFileName;
  entry.attributes = found.dwFileAttributes;
  entry.size = (static_cast<std::uint64_t>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
  entry.lastWrite = fromFileTime(found.ftLastWriteTime);
  return entry;
}

// Every entry of a folder but "." and "..", by name without regard to case.
Listing listAll(const WindowsPath& folder) {
  ::WIN32_FIND_DATAA found;
  const std::string pattern = withSeparator(folder) + "*";
  ::HANDLE search = ::FindFirstFileA(pattern.c_str(), &found);
  std::vector<DirectoryEntry> entries;
  if (search == INVALID_HANDLE_VALUE) {
    // An empty drive root has not even "." to report.
    if (::GetLastError() == ERROR_FILE_NOT_FOUND) return entries;
    return Listing::failure(lastWindowsError(), folder.text());
  }
  do {
    if (std::strcmp(found.cFileName, ".") == 0 || std::strcmp(found.cFileName, "..") == 0) continue;
    entries.push_back(entryOf(found));
  } while (::FindNextFileA(search, &found));
  const ::DWORD ended = ::GetLastError();
  ::FindClose(search);
  if (ended != ERROR_NO_MORE_FILES) return Listing::failure(Status(ended), folder.text());
  std::sort(entries.begin(), entries.end(), [](const DirectoryEntry& a, const DirectoryEntry& b) {
    return ansiLessNoCase(a.name, b.name);
  });
  return entries;
}

// The entry itself, as its folder lists it; nothing for a drive or share root.
std::optional<DirectoryEntry> findEntry(const WindowsPath& path) {
  if (path.isRoot()) return std::nullopt;
  ::WIN32_FIND_DATAA found;
  ::HANDLE search = ::FindFirstFileA(path.text().c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return std::nullopt;
  ::FindClose(search);
  return entryOf(found);
}

bool samePath(const WindowsPath& a, const WindowsPath& b) {
  return ansiToUpper(a.text()) == ansiToUpper(b.text());
}

bool isInside(const WindowsPath& inner, const WindowsPath& outer) {
  const std::string in = ansiToUpper(inner.text());
  const std::string out = ansiToUpper(withSeparator(outer));
  return in.compare(0, out.size(), out) == 0;
}

Status removeFileForced(const std::string& path, std::uint32_t attributes) {
  if ((attributes & FILE_ATTRIBUTE_READONLY) != 0 &&
      !::SetFileAttributesA(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY & kSettableAttributes)) {
    return lastWindowsError();
  }
  if (!::DeleteFileA(path.c_str())) return lastWindowsError();
  return Status();
}

// Windows shows a box asking for a disk when a drive without its medium is touched; the program
// wants the failure instead.
class QuietDriveErrors {
 public:
  QuietDriveErrors() : m_previous(::SetErrorMode(SEM_FAILCRITICALERRORS)) {}
  ~QuietDriveErrors() { ::SetErrorMode(m_previous); }
  QuietDriveErrors(const QuietDriveErrors&) = delete;
  QuietDriveErrors& operator=(const QuietDriveErrors&) = delete;

 private:
  ::UINT m_previous;
};

// The holder of a file opened without sharing: nobody else can open the file while it lives, and
// Windows closes the handle when the process ends.
class Win32FileLock final : public FileLock {
 public:
  explicit Win32FileLock(::HANDLE handle) : m_handle(handle) {}
  ~Win32FileLock() override { ::CloseHandle(m_handle); }
  Win32FileLock(const Win32FileLock&) = delete;
  Win32FileLock& operator=(const Win32FileLock&) = delete;

 private:
  ::HANDLE m_handle;
};

WindowsPath processCurrentDirectory() {
  char buffer[MAX_PATH + 1];
  const ::DWORD length = ::GetCurrentDirectoryA(sizeof buffer, buffer);
  WindowsPath fallback;  // C:\ when the process has none we can read
  if (length == 0 || length >= sizeof buffer) return fallback;
  auto parsed = parseWindowsPath(std::string_view(buffer, length), fallback);
  return parsed ? *parsed : fallback;
}

std::uint64_t hashOfText(const std::string& text) {
  std::uint64_t hash = 14695981039346656037ULL;  // FNV-1a
  for (const char c : text) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 1099511628211ULL;
  }
  return hash;
}

}  // namespace

Win32FileSystem::Win32FileSystem() : m_current(processCurrentDirectory()) {}

Result<WindowsPath> Win32FileSystem::resolve(const std::string& path, Wildcards wildcards) const {
  return parseWindowsPath(path, m_current, wildcards);
}

Result<std::uint32_t> Win32FileSystem::attributesOf(const WindowsPath& path) const {
  const QuietDriveErrors quiet;
  const std::string text = path.isRoot() ? withSeparator(path) : path.text();
  const ::DWORD attributes = ::GetFileAttributesA(text.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    return Result<std::uint32_t>::failure(lastWindowsError(), path.text());
  }
  return static_cast<std::uint32_t>(attributes);
}

Result<WindowsPath> Win32FileSystem::existingFolder(const std::string& path) const {
  auto parsed = resolve(path);
  if (!parsed) return parsed;
  const auto attributes = attributesOf(*parsed);
  if (!attributes || (*attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
    return Result<WindowsPath>::failure(Status(ERROR_PATH_NOT_FOUND), parsed->text());
  }
  return parsed;
}

Result<std::vector<WindowsPath>> Win32FileSystem::matching(const std::string& path, Kind kind) {
  using Found = Result<std::vector<WindowsPath>>;
  auto pattern = resolve(path, Wildcards::AllowInLast);
  if (!pattern) return pattern.failureAs<std::vector<WindowsPath>>();
  const WindowsPath folder = pattern->parent();
  const auto attributes = attributesOf(folder);
  if (!attributes || (*attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
    return Found::failure(Status(ERROR_PATH_NOT_FOUND), folder.text());
  }
  auto entries = listAll(folder);
  if (!entries) return entries.failureAs<std::vector<WindowsPath>>();
  std::vector<WindowsPath> found;
  for (const DirectoryEntry& entry : *entries) {
    if (isFolder(entry) != (kind == Kind::Folder)) continue;
    if (matchesWildcard(pattern->names.back(), entry.name)) found.push_back(folder.child(entry.name));
  }
  return found;
}

bool Win32FileSystem::fileExists(const std::string& path) {
  const auto parsed = resolve(path);
  if (!parsed) return false;
  const auto attributes = attributesOf(*parsed);
  return attributes && (*attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool Win32FileSystem::folderExists(const std::string& path) {
  const auto parsed = resolve(path);
  if (!parsed) return false;
  const auto attributes = attributesOf(*parsed);
  return attributes && (*attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

Result<FileInfo> Win32FileSystem::fileInfo(const std::string& path) {
  const auto parsed = resolve(path);
  if (!parsed) return parsed.failureAs<FileInfo>();
  const auto attributes = attributesOf(*parsed);
  if (!attributes) return attributes.failureAs<FileInfo>();
  FileInfo info;
  info.attributes = *attributes;
  if (const auto entry = findEntry(*parsed)) {
    info.size = isFolder(*entry) ? 0 : entry->size;
    info.lastWrite = entry->lastWrite;
  }
  return info;
}

Result<FileIdentity> Win32FileSystem::identity(const std::string& path) {
  const auto parsed = resolve(path);
  if (!parsed) return parsed.failureAs<FileIdentity>();
  const auto attributes = attributesOf(*parsed);
  if (!attributes) return attributes.failureAs<FileIdentity>();
  const std::string text = parsed->isRoot() ? withSeparator(*parsed) : parsed->text();
  ::HANDLE handle = ::CreateFileA(text.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle != INVALID_HANDLE_VALUE) {
    ::BY_HANDLE_FILE_INFORMATION information;
    const bool known = ::GetFileInformationByHandle(handle, &information) != 0;
    ::CloseHandle(handle);
    if (known) {
      FileIdentity identity;
      identity.volume = information.dwVolumeSerialNumber;
      identity.index = (static_cast<std::uint64_t>(information.nFileIndexHigh) << 32) |
                       information.nFileIndexLow;
      return identity;
    }
  }
  // NOTE: Windows 95/98 open no folder as a file. They have no links or junctions either, so
  // there the full path in upper case tells a folder from every other.
  FileIdentity byPath;
  byPath.volume = 0xFFFFFFFF00000000ULL;
  byPath.index = hashOfText(ansiToUpper(parsed->text()));
  return byPath;
}

Status Win32FileSystem::setAttributes(const std::string& path, std::uint32_t attributes) {
  const auto parsed = resolve(path);
  if (!parsed) return parsed.status();
  const std::uint32_t settable = attributes & kSettableAttributes;
  if (!::SetFileAttributesA(parsed->text().c_str(),
                            settable != 0 ? settable : FILE_ATTRIBUTE_NORMAL)) {
    return lastWindowsError();
  }
  return Status();
}

Status Win32FileSystem::setLastWriteTime(const std::string& path, FileTime time) {
  const auto parsed = resolve(path);
  if (!parsed) return parsed.status();
  const std::string text = parsed->text();
  // FILE_WRITE_ATTRIBUTES reaches read-only files too; Windows 95/98 know only GENERIC_WRITE.
  ::HANDLE handle = ::CreateFileA(text.c_str(), FILE_WRITE_ATTRIBUTES,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    handle = ::CreateFileA(text.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                           nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  }
  if (handle == INVALID_HANDLE_VALUE) return lastWindowsError();
  const ::FILETIME written = toFileTime(time);
  const bool set = ::SetFileTime(handle, nullptr, nullptr, &written) != 0;
  const Status status = set ? Status() : lastWindowsError();
  ::CloseHandle(handle);
  return status;
}

Status Win32FileSystem::createFolder(const std::string& path) {
  const auto parsed = resolve(path);
  if (!parsed) return parsed.status();
  if (parsed->isRoot()) return Status(ERROR_ALREADY_EXISTS);
  if (!::CreateDirectoryA(parsed->text().c_str(), nullptr)) return lastWindowsError();
  return Status();
}

Status Win32FileSystem::copyFile(const std::string& source, const std::string& destination,
                                 Overwrite overwrite) {
  std::vector<WindowsPath> sources;
  const bool intoFolder = endsWithSeparator(destination) || hasWildcards(splitLastName(source).second);
  if (hasWildcards(splitLastName(source).second)) {
    auto found = matching(source, Kind::File);
    if (!found) return found.status();
    if (found->empty()) return Status(ERROR_FILE_NOT_FOUND);
    sources = std::move(found).value();
  } else {
    auto from = resolve(source);
    if (!from) return from.status();
    const auto attributes = attributesOf(*from);
    if (!attributes) return attributes.status();
    if ((*attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return Status(ERROR_FILE_NOT_FOUND);
    sources.push_back(*from);
  }
  WindowsPath target;
  if (intoFolder) {
    auto into = existingFolder(destination);
    if (!into) return into.status();
    target = *into;
  } else {
    auto to = resolve(destination);
    if (!to) return to.status();
    target = *to;
  }
  for (const WindowsPath& from : sources) {
    const WindowsPath to = intoFolder ? target.child(from.names.back()) : target;
    if (samePath(from, to)) return Status(ERROR_ACCESS_DENIED);
    if (folderExists(to.text())) return Status(ERROR_ACCESS_DENIED);
    if (!::CopyFileA(from.text().c_str(), to.text().c_str(), overwrite == Overwrite::No)) {
      return lastWindowsError();
    }
  }
  return Status();
}

Status Win32FileSystem::copyTree(const WindowsPath& from, const WindowsPath& to,
                                 Overwrite overwrite) {
  if (samePath(from, to) || isInside(to, from)) return Status(ERROR_ACCESS_DENIED);
  const auto present = attributesOf(to);
  if (!present) {
    if (!::CreateDirectoryA(to.text().c_str(), nullptr)) return lastWindowsError();
  } else if ((*present & FILE_ATTRIBUTE_DIRECTORY) == 0) {
    return Status(ERROR_ACCESS_DENIED);
  }
  auto entries = listAll(from);
  if (!entries) return entries.status();
  for (const DirectoryEntry& entry : *entries) {
    const WindowsPath source = from.child(entry.name);
    const WindowsPath target = to.child(entry.name);
    if (isFolder(entry)) {
      RETURN_IF_FAILED(copyTree(source, target, overwrite));
    } else if (!::CopyFileA(source.text().c_str(), target.text().c_str(),
                            overwrite == Overwrite::No)) {
      return lastWindowsError();
    }
  }
  if (const auto attributes = attributesOf(from)) {
    ignoreFailure(setAttributes(to.text(), *attributes), "a copied folder keeps its attributes");
  }
  if (const auto original = findEntry(from)) {
    ignoreFailure(setLastWriteTime(to.text(), original->lastWrite),
                  "Windows 95/98 cannot set a folder's time");
  }
  return Status();
}

Status Win32FileSystem::copyFolder(const std::string& source, const std::string& destination,
                                   Overwrite overwrite) {
  if (hasWildcards(splitLastName(source).second)) {
    auto sources = matching(source, Kind::Folder);
    if (!sources) return sources.status();
    if (sources->empty()) return Status(ERROR_PATH_NOT_FOUND);
    auto into = existingFolder(destination);
    if (!into) return into.status();
    for (const WindowsPath& folder : *sources) {
      RETURN_IF_FAILED(copyTree(folder, into->child(folder.names.back()), overwrite));
    }
    return Status();
  }
  auto from = existingFolder(source);
  if (!from) return from.status();
  if (endsWithSeparator(destination)) {
    if (from->isRoot()) return Status(ERROR_ACCESS_DENIED);  // a drive has no name to copy under
    auto into = existingFolder(destination);
    if (!into) return into.status();
    return copyTree(*from, into->child(from->names.back()), overwrite);
  }
  auto to = resolve(destination);
  if (!to) return to.status();
  if (!to->isRoot() && !folderExists(to->parent().text())) return Status(ERROR_PATH_NOT_FOUND);
  return copyTree(*from, *to, overwrite);
}

Status Win32FileSystem::deleteFile(const std::string& path, Force force) {
  std::vector<WindowsPath> victims;
  if (hasWildcards(splitLastName(path).second)) {
    auto found = matching(path, Kind::File);
    if (!found) return found.status();
    victims = std::move(found).value();
  } else {
    auto parsed = resolve(path);
    if (!parsed) return parsed.status();
    const auto attributes = attributesOf(*parsed);
    if (!attributes) return attributes.status();
    if ((*attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) victims.push_back(*parsed);
  }
  if (victims.empty()) return Status(ERROR_FILE_NOT_FOUND);
  std::vector<std::uint32_t> attributes;
  for (const WindowsPath& victim : victims) attributes.push_back(attributesOf(victim).valueOr(0));
  // Refuse before removing anything, so that a refused delete leaves every file in place.
  if (force == Force::No &&
      std::any_of(attributes.begin(), attributes.end(),
                  [](std::uint32_t a) { return (a & FILE_ATTRIBUTE_READONLY) != 0; })) {
    return Status(ERROR_ACCESS_DENIED);
  }
  for (std::size_t i = 0; i < victims.size(); ++i) {
    RETURN_IF_FAILED(removeFileForced(victims[i].text(), attributes[i]));
  }
  return Status();
}

bool Win32FileSystem::treeHasReadOnlyFile(const WindowsPath& folder) {
  const auto entries = listAll(folder);
  if (!entries) return false;
  return std::any_of(entries->begin(), entries->end(), [&](const DirectoryEntry& entry) {
    return isFolder(entry) ? treeHasReadOnlyFile(folder.child(entry.name))
                           : (entry.attributes & FILE_ATTRIBUTE_READONLY) != 0;
  });
}

Status Win32FileSystem::removeTree(const WindowsPath& folder) {
  auto entries = listAll(folder);
  if (!entries) return entries.status();
  for (const DirectoryEntry& entry : *entries) {
    const WindowsPath child = folder.child(entry.name);
    RETURN_IF_FAILED(isFolder(entry) ? removeTree(child)
                                     : removeFileForced(child.text(), entry.attributes));
  }
  if (const auto attributes = attributesOf(folder);
      attributes && (*attributes & FILE_ATTRIBUTE_READONLY) != 0) {
    ignoreFailure(setAttributes(folder.text(), *attributes & ~FILE_ATTRIBUTE_READONLY),
                  "a read-only folder is removed all the same");
  }
  if (!::RemoveDirectoryA(folder.text().c_str())) return lastWindowsError();
  return Status();
}

Status Win32FileSystem::deleteFolder(const std::string& path, Force force) {
  std::vector<WindowsPath> victims;
  if (hasWildcards(splitLastName(path).second)) {
    auto found = matching(path, Kind::Folder);
    if (!found) return found.status();
    victims = std::move(found).value();
  } else {
    auto found = existingFolder(path);
    if (!found) return found.status();
    if (found->isRoot()) return Status(ERROR_ACCESS_DENIED);  // never a whole drive or share
    victims.push_back(*found);
  }
  if (victims.empty()) return Status(ERROR_PATH_NOT_FOUND);
  if (force == Force::No) {
    for (const WindowsPath& victim : victims) {
      if (treeHasReadOnlyFile(victim)) return Status(ERROR_ACCESS_DENIED);
    }
  }
  for (const WindowsPath& victim : victims) RETURN_IF_FAILED(removeTree(victim));
  return Status();
}

Status Win32FileSystem::moveFile(const std::string& source, const std::string& destination,
                                 Overwrite overwrite) {
  const auto from = resolve(source);
  if (!from) return from.status();
  const auto fromAttributes = attributesOf(*from);
  if (!fromAttributes) return fromAttributes.status();
  if (from->isRoot()) return Status(ERROR_ACCESS_DENIED);  // a drive is no folder to move
  const auto to = resolve(destination);
  if (!to) return to.status();
  if (to->isRoot()) return Status(ERROR_ACCESS_DENIED);
  const bool sameEntry = samePath(*from, *to);
  const auto toAttributes = attributesOf(*to);
  if (toAttributes && !sameEntry) {
    if (overwrite == Overwrite::No) return Status(ERROR_ALREADY_EXISTS);
    if ((*toAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) != 0 ||
        (*fromAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
      return Status(ERROR_ACCESS_DENIED);
    }
  }
  if (sameEntry) {
    if (from->text() == to->text()) return Status();
    // Another case of the same name: by way of a name of its own, since Wine takes the new
    // name for the entry it already is and changes nothing.
    const std::string step = from->parent().child("~transvale-rename.tmp").text();
    if (!::MoveFileA(from->text().c_str(), step.c_str())) return lastWindowsError();
    if (!::MoveFileA(step.c_str(), to->text().c_str())) {
      const Status failed = lastWindowsError();
      ignoreFailure(::MoveFileA(step.c_str(), from->text().c_str()) ? Status() : lastWindowsError(),
                    "the entry keeps its old name when the new case cannot be had");
      return failed;
    }
    return Status();
  }
  const ::DWORD flags =
      MOVEFILE_COPY_ALLOWED | (overwrite == Overwrite::Yes ? MOVEFILE_REPLACE_EXISTING : 0);
  if (::MoveFileExA(from->text().c_str(), to->text().c_str(), flags)) return Status();
  if (::GetLastError() != ERROR_CALL_NOT_IMPLEMENTED) return lastWindowsError();
  // Windows 95/98 have MoveFileExA in name only: replace by hand.
  if (toAttributes && !sameEntry && !::DeleteFileA(to->text().c_str())) return lastWindowsError();
  if (!::MoveFileA(from->text().c_str(), to->text().c_str())) return lastWindowsError();
  return Status();
}

Result<std::vector<DirectoryEntry>> Win32FileSystem::listFolder(const std::string& folder,
                                                                const std::string& pattern) {
  auto parsed = existingFolder(folder);
  if (!parsed) return parsed.failureAs<std::vector<DirectoryEntry>>();
  auto entries = listAll(*parsed);
  if (!entries) return entries;
  const std::string wanted = pattern.empty() ? "*" : pattern;
  std::erase_if(entries.value(), [&wanted](const DirectoryEntry& entry) {
    return !matchesWildcard(wanted, entry.name);
  });
  return entries;
}

Result<std::unique_ptr<File>> Win32FileSystem::openFile(const std::string& path, OpenMode mode) {
  using Opened = Result<std::unique_ptr<File>>;
  const auto parsed = resolve(path);
  if (!parsed) return parsed.failureAs<std::unique_ptr<File>>();
  ::DWORD access = GENERIC_READ | GENERIC_WRITE;
  ::DWORD disposition = OPEN_EXISTING;
  switch (mode) {
    case OpenMode::Read: access = GENERIC_READ; break;
    case OpenMode::ReadWrite: break;
    // Opened and then cut, not re-created: CREATE_ALWAYS would drop the file's attributes and
    // refuses hidden files.
    case OpenMode::CreateTruncate: disposition = OPEN_ALWAYS; break;
    case OpenMode::CreateNew: disposition = CREATE_NEW; break;
    case OpenMode::Append: disposition = OPEN_ALWAYS; break;
  }
  ::HANDLE handle = ::CreateFileA(parsed->text().c_str(), access, FILE_SHARE_READ, nullptr,
                                  disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return Opened::failure(lastWindowsError(), parsed->text());
  auto file = std::make_unique<Win32File>(handle, mode == OpenMode::Append);
  if (mode == OpenMode::CreateTruncate) {
    const Status cut = file->truncate(0);
    if (cut.failed()) return Opened::failure(cut, parsed->text());
  }
  return Opened(std::move(file));
}

Result<std::unique_ptr<FileLock>> Win32FileSystem::lockFile(const std::string& path) {
  using Locked = Result<std::unique_ptr<FileLock>>;
  const auto parsed = resolve(path);
  if (!parsed) return parsed.failureAs<std::unique_ptr<FileLock>>();
  ::HANDLE handle = ::CreateFileA(parsed->text().c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                                  nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return Locked::failure(lastWindowsError(), parsed->text());
  return Locked(std::make_unique<Win32FileLock>(handle));
}

Result<std::string> Win32FileSystem::fullPath(const std::string& path) {
  const auto parsed = resolve(path);
  if (!parsed) return parsed.failureAs<std::string>();
  WindowsPath stored = *parsed;
  stored.names.clear();
  std::size_t index = 0;
  for (; index < parsed->names.size(); ++index) {
    const auto entry = findEntry(stored.child(parsed->names[index]));
    if (!entry) break;
    stored = stored.child(entry->name);
  }
  for (; index < parsed->names.size(); ++index) stored = stored.child(parsed->names[index]);
  return stored.text();
}

std::string Win32FileSystem::currentDirectory() { return m_current.text(); }

Status Win32FileSystem::setCurrentDirectory(const std::string& path) {
  auto folder = existingFolder(path);
  if (!folder) return folder.status();
  m_current = *folder;
  return Status();
}

Result<std::string> Win32FileSystem::createTemporaryFile(const std::string& folder,
                                                         const std::string& prefix) {
  auto into = existingFolder(folder);
  if (!into) return into.failureAs<std::string>();
  char name[MAX_PATH + 1];
  if (::GetTempFileNameA(into->text().c_str(), prefix.substr(0, 3).c_str(), 0, name) == 0) {
    return Result<std::string>::failure(lastWindowsError(), into->text());
  }
  return std::string(name);
}

std::vector<DriveInfo> Win32FileSystem::drives() {
  std::vector<DriveInfo> result;
  const ::DWORD present = ::GetLogicalDrives();
  for (int i = 0; i < 26; ++i) {
    if ((present & (1u << i)) == 0) continue;
    if (auto info = drive(static_cast<char>('A' + i))) result.push_back(*info);
  }
  return result;
}

Result<DriveInfo> Win32FileSystem::drive(char letter) {
  letter = ansiToUpper(letter);
  if (letter < 'A' || letter > 'Z' || (::GetLogicalDrives() & (1u << (letter - 'A'))) == 0) {
    return Result<DriveInfo>::failure(Status(ERROR_INVALID_DRIVE), std::string(1, letter) + ":");
  }
  const QuietDriveErrors quiet;
  const std::string root = std::string(1, letter) + ":\\";
  DriveInfo info;
  info.letter = letter;
  info.type = static_cast<DriveType>(::GetDriveTypeA(root.c_str()));
  char label[MAX_PATH + 1] = {};
  info.ready = ::GetVolumeInformationA(root.c_str(), label, sizeof label, nullptr, nullptr,
                                       nullptr, nullptr, 0) != 0;
  if (info.ready) info.label = label;
  if (info.type == DriveType::Remote) {
    char remote[MAX_PATH + 1] = {};
    ::DWORD length = sizeof remote;
    const std::string local = std::string(1, letter) + ":";
    if (::WNetGetConnectionA(local.c_str(), remote, &length) == NO_ERROR) info.remotePath = remote;
  }
  return info;
}

}  // namespace platform
