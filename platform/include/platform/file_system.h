// The machine's file system, as the program sees it through the file-system object and directory
// enumeration. Every path is a Windows path in ANSI (Windows-1252) text: "C:\Data\x.doc",
// "\\server\share\x", "c:/data/../data", or relative to the current directory. Names compare
// without regard to case. A name with a character Windows forbids (< > : " | ? * or a control
// character) gives ERROR_INVALID_NAME, a drive that does not exist ERROR_PATH_NOT_FOUND, a drive
// without its medium ERROR_NOT_READY, a share that does not exist ERROR_BAD_NETPATH.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/status.h"

namespace platform {

// File attributes, as GetFileAttributes reports them.
inline constexpr std::uint32_t FILE_ATTRIBUTE_READONLY = 0x01;
inline constexpr std::uint32_t FILE_ATTRIBUTE_HIDDEN = 0x02;
inline constexpr std::uint32_t FILE_ATTRIBUTE_SYSTEM = 0x04;
inline constexpr std::uint32_t FILE_ATTRIBUTE_DIRECTORY = 0x10;
inline constexpr std::uint32_t FILE_ATTRIBUTE_ARCHIVE = 0x20;
inline constexpr std::uint32_t FILE_ATTRIBUTE_NORMAL = 0x80;

// 100-nanosecond intervals since 1 January 1601, UTC.
using FileTime = std::uint64_t;

// GetDriveType's numbering.
enum class DriveType : std::uint32_t {
  Unknown = 0,
  NoRootDirectory = 1,
  Removable = 2,
  Fixed = 3,
  Remote = 4,
  CdRom = 5,
  RamDisk = 6,
};

struct DriveInfo {
  char letter = 'C';  // upper case
  DriveType type = DriveType::Fixed;
  bool ready = false;
  std::string label;  // volume label, empty when none or not ready
  std::string remotePath;  // \\server\share for a drive mapped to a share
};

struct FileInfo {
  std::uint64_t size = 0;
  FileTime lastWrite = 0;
  std::uint32_t attributes = 0;
};

// What tells one file or folder from every other on the machine, whatever path leads to it (a
// link, a junction, another letter for the same share): GetFileInformationByHandle's volume
// serial number and file index.
struct FileIdentity {
  std::uint64_t volume = 0;
  std::uint64_t index = 0;
  auto operator<=>(const FileIdentity&) const = default;
};

struct DirectoryEntry {
  std::string name;  // the name as stored, without directory
  std::uint32_t attributes = 0;
  std::uint64_t size = 0;
  FileTime lastWrite = 0;
};

// Chooses entries of a folder listing by their name and whether they are folders.
using EntryFilter = std::function<bool(std::string_view name, bool isFolder)>;

enum class Overwrite { No, Yes };
enum class Force { No, Yes };  // delete read-only files too

enum class OpenMode {
  Read,            // existing file, reading; others may read too
  ReadWrite,       // existing file, reading and writing
  CreateTruncate,  // create or truncate, reading and writing
  CreateNew,       // create; fails with ERROR_FILE_EXISTS when the file exists
  Append,          // create when missing, writing at the end
};

// An open file. Positions are byte offsets from the start.
class File {
 public:
  virtual ~File() = default;
  // Reads up to `count` bytes; 0 at the end of the file.
  virtual Result<std::size_t> read(void* buffer, std::size_t count) = 0;
  virtual Status write(const void* buffer, std::size_t count) = 0;
  virtual Status seek(std::uint64_t position) = 0;
  virtual std::uint64_t position() const = 0;
  virtual Result<std::uint64_t> size() = 0;
  virtual Status truncate(std::uint64_t size) = 0;
  // Flushes and closes; later calls fail. The destructor closes too, ignoring failures.
  virtual Status close() = 0;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  virtual bool fileExists(const std::string& path) = 0;
  virtual bool folderExists(const std::string& path) = 0;
  virtual Result<FileInfo> fileInfo(const std::string& path) = 0;  // files and folders
  // The identity of the file or folder a path leads to, links followed.
  virtual Result<FileIdentity> identity(const std::string& path) = 0;
  virtual Status setAttributes(const std::string& path, std::uint32_t attributes) = 0;
  virtual Status setLastWriteTime(const std::string& path, FileTime time) = 0;

  // One level: the parent must exist; an existing folder gives ERROR_ALREADY_EXISTS.
  virtual Status createFolder(const std::string& path) = 0;

  // The file-system object's CopyFile and CopyFolder: the last component of `source` may hold
  // wildcards (* and ?); a destination ending in "\" is a folder that receives the copies under
  // their own names; nothing matching is ERROR_FILE_NOT_FOUND (ERROR_PATH_NOT_FOUND for folders).
  // With wildcards the destination is always an existing folder. A file copied onto an existing
  // file needs Overwrite::Yes (else ERROR_FILE_EXISTS) and fails on a read-only one, a folder or
  // itself (ERROR_ACCESS_DENIED). A folder copied onto an existing folder merges into it; into
  // itself or below itself is ERROR_ACCESS_DENIED. Copies keep times and attributes; the first
  // failure stops the copy.
  virtual Status copyFile(const std::string& source, const std::string& destination,
                          Overwrite overwrite) = 0;
  virtual Status copyFolder(const std::string& source, const std::string& destination,
                            Overwrite overwrite) = 0;
  // Wildcards in the last component, as for copies. Without Force a read-only file refuses the
  // whole delete (ERROR_ACCESS_DENIED) before anything is removed. A drive or share root is never
  // deleted (ERROR_ACCESS_DENIED).
  virtual Status deleteFile(const std::string& path, Force force) = 0;
  virtual Status deleteFolder(const std::string& path, Force force) = 0;
  // MoveFileEx: renames a file or folder, replacing an existing file when asked (else
  // ERROR_ALREADY_EXISTS). A rename to the same name in another case changes the case.
  virtual Status moveFile(const std::string& source, const std::string& destination,
                          Overwrite overwrite) = 0;

  // FindFirstFile/FindNextFile over one folder: entries whose names match `pattern` (without
  // regard to case; "*" and "*.*" match every name), by name without regard to case as NTFS
  // keeps them, without "." and "..". Hidden and system entries are listed with their
  // attributes. No match is an empty list; a missing folder ERROR_PATH_NOT_FOUND.
  virtual Result<std::vector<DirectoryEntry>> listFolder(const std::string& folder,
                                                         const std::string& pattern = "*") = 0;
  // As listFolder with "*", keeping the entries `wanted` accepts. A backend may skip reading the
  // attributes, size and time of the others: a search over a large tree then costs far less.
  virtual Result<std::vector<DirectoryEntry>> listFolderWhere(const std::string& folder,
                                                              const EntryFilter& wanted) {
    auto entries = listFolder(folder, "*");
    if (entries) {
      std::erase_if(entries.value(), [&wanted](const DirectoryEntry& entry) {
        return !wanted(entry.name, (entry.attributes & FILE_ATTRIBUTE_DIRECTORY) != 0);
      });
    }
    return entries;
  }

  virtual Result<std::unique_ptr<File>> openFile(const std::string& path, OpenMode mode) = 0;

  // The full path with the drive letter in upper case and the stored case of every existing
  // component ("c:\data\X.DOC" gives "C:\Data\x.doc").
  virtual Result<std::string> fullPath(const std::string& path) = 0;

  // The current directory lives in this layer, never in the host process.
  virtual std::string currentDirectory() = 0;
  virtual Status setCurrentDirectory(const std::string& path) = 0;

  // GetTempFileName: creates an empty file named <first 3 characters of prefix><hex>.tmp in
  // `folder` and returns its full path.
  virtual Result<std::string> createTemporaryFile(const std::string& folder,
                                                  const std::string& prefix) = 0;

  virtual std::vector<DriveInfo> drives() = 0;  // every drive letter that exists, A to Z
  virtual Result<DriveInfo> drive(char letter) = 0;  // ERROR_INVALID_DRIVE when no such drive
};

}  // namespace platform
