// A machine whose file system fails on request, for the tests of what a run leaves behind when
// a write fails (a disk that fills while an archive is finished). Everything else is the machine
// it wraps; without a fault set, so is the file system.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>

#include "platform/machine.h"

namespace platform::testing {

class FaultyFileSystem final : public FileSystem {
 public:
  // Which files the counted writes go to, by the path they were opened with.
  using PathFilter = std::function<bool(const std::string& path)>;

  // How the file system breaks from a chosen write on.
  enum class Fault {
    DiskFull,  // that write and every later one fail (ERROR_DISK_FULL); nothing else changes
    ReadOnly,  // every change to a place the filter accepts is refused (ERROR_ACCESS_DENIED)
    Missing,   // every place the filter accepts is gone (ERROR_PATH_NOT_FOUND, nothing exists)
  };

  explicit FaultyFileSystem(FileSystem& inner) : m_inner(inner) {}

  // A filter accepting a folder (or drive root such as "C:\") and everything below it, by
  // full path and without regard to case.
  static PathFilter below(std::string folder);

  // Counts, from zero, the writes (a write to an open file, a copy, a new folder or temporary
  // file) to places `which` accepts (every place when empty), and lifts any fault set before.
  void countWritesTo(PathFilter which);
  std::size_t writes() const { return m_writes; }
  // Operations refused by a fault so far.
  std::size_t refusals() const { return m_refusals; }
  // The `number`-th counted write (1 is the first) fails with `status`, and so does every one
  // after it, as on a disk that stays full.
  void failWriteNumber(std::size_t number, Status status = ERROR_DISK_FULL);
  // From just before the `number`-th counted write on, the places `where` accepts (every place
  // when empty) break as `fault` says.
  void failFromWrite(std::size_t number, Fault fault, PathFilter where = {});

  bool fileExists(const std::string& path) override;
  bool folderExists(const std::string& path) override;
  Result<FileInfo> fileInfo(const std::string& path) override;
  Result<FileIdentity> identity(const std::string& path) override;
  Status setAttributes(const std::string& path, std::uint32_t attributes) override;
  Status setLastWriteTime(const std::string& path, FileTime time) override;
  Status createFolder(const std::string& path) override;
  Status copyFile(const std::string& source, const std::string& destination,
                  Overwrite overwrite) override;
  Status copyFolder(const std::string& source, const std::string& destination,
                    Overwrite overwrite) override;
  Status deleteFile(const std::string& path, Force force) override;
  Status deleteFolder(const std::string& path, Force force) override;
  Status moveFile(const std::string& source, const std::string& destination,
                  Overwrite overwrite) override;
  Result<std::vector<DirectoryEntry>> listFolder(const std::string& folder,
                                                 const std::string& pattern = "*") override;
  Result<std::vector<DirectoryEntry>> listFolderWhere(const std::string& folder,
                                                      const EntryFilter& wanted) override;
  Result<std::unique_ptr<File>> openFile(const std::string& path, OpenMode mode) override;
  Result<std::unique_ptr<FileLock>> lockFile(const std::string& path) override;
  Result<std::string> fullPath(const std::string& path) override { return m_inner.fullPath(path); }
  std::string currentDirectory() override { return m_inner.currentDirectory(); }
  Status setCurrentDirectory(const std::string& path) override {
    return m_inner.setCurrentDirectory(path);
  }
  Result<std::string> createTemporaryFile(const std::string& folder,
                                          const std::string& prefix) override;
  std::vector<DriveInfo> drives() override;
  Result<DriveInfo> drive(char letter) override;

  // Called by the files it opened: the status their next write ends with.
  Status nextWrite(const std::string& path, bool counted);

 private:
  bool active() const { return m_faultFrom != 0 && m_writes + 1 >= m_faultFrom; }
  std::string full(const std::string& path);
  // Whether the fault, active now, takes this place (by full path).
  bool hits(const std::string& fullPath) const;
  // The status a read of `path` ends with before it reaches the disk.
  Status readStatus(const std::string& path);
  // The status a change of `path` ends with before it reaches the disk; `adds` when it needs
  // room on the disk (it then counts as a write, when the count takes its place).
  Status changeStatus(const std::string& path, bool adds);
  Status refuse(Status status);

  FileSystem& m_inner;
  PathFilter m_counted;
  std::size_t m_writes = 0;
  std::size_t m_refusals = 0;
  std::size_t m_faultFrom = 0;  // 0: no fault
  Fault m_fault = Fault::DiskFull;
  Status m_failure = ERROR_DISK_FULL;
  PathFilter m_where;
};

// The machine it wraps, with a FaultyFileSystem in front of its files.
class FaultyMachine final : public Machine {
 public:
  explicit FaultyMachine(Machine& inner) : m_inner(inner), m_files(inner.files()) {}

  FaultyFileSystem& files() override { return m_files; }
  Registry& registry() override { return m_inner.registry(); }
  Environment& environment() override { return m_inner.environment(); }
  Processes& processes() override { return m_inner.processes(); }
  Clock& clock() override { return m_inner.clock(); }
  Printers& printers() override { return m_inner.printers(); }
  Network& network() override { return m_inner.network(); }
  SystemParameters& systemParameters() override { return m_inner.systemParameters(); }
  ShellUIHelper& shellUIHelper() override { return m_inner.shellUIHelper(); }
  std::string programDirectory() override { return m_inner.programDirectory(); }
  LibraryLoader* libraryLoader() override { return m_inner.libraryLoader(); }

 private:
  Machine& m_inner;
  FaultyFileSystem m_files;
};

}  // namespace platform::testing
