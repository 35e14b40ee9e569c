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

  explicit FaultyFileSystem(FileSystem& inner) : m_inner(inner) {}

  // Counts, from zero, the writes to files opened from now on whose path `which` accepts (every
  // file when empty), and lifts any fault set before.
  void countWritesTo(PathFilter which);
  std::size_t writes() const { return m_writes; }
  // The `number`-th counted write (1 is the first) fails with `status`, and so does every one
  // after it, as on a disk that stays full.
  void failWriteNumber(std::size_t number, Status status = ERROR_DISK_FULL);

  bool fileExists(const std::string& path) override { return m_inner.fileExists(path); }
  bool folderExists(const std::string& path) override { return m_inner.folderExists(path); }
  Result<FileInfo> fileInfo(const std::string& path) override { return m_inner.fileInfo(path); }
  Result<FileIdentity> identity(const std::string& path) override { return m_inner.identity(path); }
  Status setAttributes(const std::string& path, std::uint32_t attributes) override {
    return m_inner.setAttributes(path, attributes);
  }
  Status setLastWriteTime(const std::string& path, FileTime time) override {
    return m_inner.setLastWriteTime(path, time);
  }
  Status createFolder(const std::string& path) override { return m_inner.createFolder(path); }
  Status copyFile(const std::string& source, const std::string& destination,
                  Overwrite overwrite) override {
    return m_inner.copyFile(source, destination, overwrite);
  }
  Status copyFolder(const std::string& source, const std::string& destination,
                    Overwrite overwrite) override {
    return m_inner.copyFolder(source, destination, overwrite);
  }
  Status deleteFile(const std::string& path, Force force) override {
    return m_inner.deleteFile(path, force);
  }
  Status deleteFolder(const std::string& path, Force force) override {
    return m_inner.deleteFolder(path, force);
  }
  Status moveFile(const std::string& source, const std::string& destination,
                  Overwrite overwrite) override {
    return m_inner.moveFile(source, destination, overwrite);
  }
  Result<std::vector<DirectoryEntry>> listFolder(const std::string& folder,
                                                 const std::string& pattern = "*") override {
    return m_inner.listFolder(folder, pattern);
  }
  Result<std::vector<DirectoryEntry>> listFolderWhere(const std::string& folder,
                                                      const EntryFilter& wanted) override {
    return m_inner.listFolderWhere(folder, wanted);
  }
  Result<std::unique_ptr<File>> openFile(const std::string& path, OpenMode mode) override;
  Result<std::unique_ptr<FileLock>> lockFile(const std::string& path) override {
    return m_inner.lockFile(path);
  }
  Result<std::string> fullPath(const std::string& path) override { return m_inner.fullPath(path); }
  std::string currentDirectory() override { return m_inner.currentDirectory(); }
  Status setCurrentDirectory(const std::string& path) override {
    return m_inner.setCurrentDirectory(path);
  }
  Result<std::string> createTemporaryFile(const std::string& folder,
                                          const std::string& prefix) override {
    return m_inner.createTemporaryFile(folder, prefix);
  }
  std::vector<DriveInfo> drives() override { return m_inner.drives(); }
  Result<DriveInfo> drive(char letter) override { return m_inner.drive(letter); }

  // Called by the files it opened: the status their next write ends with.
  Status nextWrite();

 private:
  FileSystem& m_inner;
  PathFilter m_counted;
  std::size_t m_writes = 0;
  std::size_t m_failFrom = 0;  // 0: no fault
  Status m_failure = ERROR_DISK_FULL;
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
