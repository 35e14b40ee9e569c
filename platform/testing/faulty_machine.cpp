#include "platform/testing/faulty_machine.h"

#include <algorithm>
#include <cctype>
#include <utility>

namespace platform::testing {

namespace {

// An open file whose writes ask the file system first.
class FaultyFile final : public File {
 public:
  FaultyFile(std::unique_ptr<File> inner, FaultyFileSystem& files, std::string path, bool counted)
      : m_inner(std::move(inner)), m_files(files), m_path(std::move(path)), m_counted(counted) {}

  Result<std::size_t> read(void* buffer, std::size_t count) override {
    return m_inner->read(buffer, count);
  }
  Status write(const void* buffer, std::size_t count) override {
    RETURN_IF_FAILED(m_files.nextWrite(m_path, m_counted));
    return m_inner->write(buffer, count);
  }
  Status seek(std::uint64_t position) override { return m_inner->seek(position); }
  std::uint64_t position() const override { return m_inner->position(); }
  Result<std::uint64_t> size() override { return m_inner->size(); }
  Status truncate(std::uint64_t size) override { return m_inner->truncate(size); }
  Status close() override { return m_inner->close(); }

 private:
  std::unique_ptr<File> m_inner;
  FaultyFileSystem& m_files;
  std::string m_path;  // full
  bool m_counted;
};

std::string folded(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

}  // namespace

FaultyFileSystem::PathFilter FaultyFileSystem::below(std::string folder) {
  folder = folded(std::move(folder));
  if (!folder.empty() && folder.back() == '\\') folder.pop_back();
  return [folder](const std::string& path) {
    const std::string candidate = folded(path);
    return candidate.starts_with(folder) &&
           (candidate.size() == folder.size() || candidate[folder.size()] == '\\');
  };
}

void FaultyFileSystem::countWritesTo(PathFilter which) {
  m_counted = std::move(which);
  m_writes = 0;
  m_refusals = 0;
  m_faultFrom = 0;
  m_where = {};
}

void FaultyFileSystem::failWriteNumber(std::size_t number, Status status) {
  failFromWrite(number, Fault::DiskFull);
  m_failure = status;
}

void FaultyFileSystem::failFromWrite(std::size_t number, Fault fault, PathFilter where) {
  m_faultFrom = number;
  m_fault = fault;
  m_where = std::move(where);
  switch (fault) {
    case Fault::DiskFull:
      m_failure = ERROR_DISK_FULL;
      break;
    case Fault::ReadOnly:
      m_failure = ERROR_ACCESS_DENIED;
      break;
    case Fault::Missing:
      m_failure = ERROR_PATH_NOT_FOUND;
      break;
  }
}

std::string FaultyFileSystem::full(const std::string& path) {
  return m_inner.fullPath(path).valueOr(path);
}

bool FaultyFileSystem::hits(const std::string& fullPath) const {
  return active() && (!m_where || m_where(fullPath));
}

Status FaultyFileSystem::refuse(Status status) {
  ++m_refusals;
  return status;
}

Status FaultyFileSystem::readStatus(const std::string& path) {
  return m_fault == Fault::Missing && hits(full(path)) ? refuse(m_failure) : ERROR_SUCCESS;
}

Status FaultyFileSystem::changeStatus(const std::string& path, bool adds) {
  const std::string fullPath = full(path);
  const bool counted = adds && (!m_counted || m_counted(path));
  Status status = ERROR_SUCCESS;
  if (hits(fullPath) && (m_fault != Fault::DiskFull || counted)) status = refuse(m_failure);
  if (counted) ++m_writes;
  return status;
}

Status FaultyFileSystem::nextWrite(const std::string& fullPath, bool counted) {
  Status status = ERROR_SUCCESS;
  // A file opened before its folder turned read-only is still written; a gone drive or a full
  // disk takes no more.
  if (hits(fullPath) && (m_fault == Fault::Missing || (m_fault == Fault::DiskFull && counted))) {
    status = refuse(m_failure);
  }
  if (counted) ++m_writes;
  return status;
}

bool FaultyFileSystem::fileExists(const std::string& path) {
  return readStatus(path).ok() && m_inner.fileExists(path);
}

bool FaultyFileSystem::folderExists(const std::string& path) {
  return readStatus(path).ok() && m_inner.folderExists(path);
}

Result<FileInfo> FaultyFileSystem::fileInfo(const std::string& path) {
  if (const Status status = readStatus(path); status.failed())
    return Result<FileInfo>::failure(status);
  return m_inner.fileInfo(path);
}

Result<FileIdentity> FaultyFileSystem::identity(const std::string& path) {
  if (const Status status = readStatus(path); status.failed())
    return Result<FileIdentity>::failure(status);
  return m_inner.identity(path);
}

Status FaultyFileSystem::setAttributes(const std::string& path, std::uint32_t attributes) {
  RETURN_IF_FAILED(changeStatus(path, false));
  return m_inner.setAttributes(path, attributes);
}

Status FaultyFileSystem::setLastWriteTime(const std::string& path, FileTime time) {
  RETURN_IF_FAILED(changeStatus(path, false));
  return m_inner.setLastWriteTime(path, time);
}

Status FaultyFileSystem::createFolder(const std::string& path) {
  RETURN_IF_FAILED(changeStatus(path, true));
  return m_inner.createFolder(path);
}

Status FaultyFileSystem::copyFile(const std::string& source, const std::string& destination,
                                  Overwrite overwrite) {
  RETURN_IF_FAILED(readStatus(source));
  RETURN_IF_FAILED(changeStatus(destination, true));
  return m_inner.copyFile(source, destination, overwrite);
}

Status FaultyFileSystem::copyFolder(const std::string& source, const std::string& destination,
                                    Overwrite overwrite) {
  RETURN_IF_FAILED(readStatus(source));
  RETURN_IF_FAILED(changeStatus(destination, true));
  return m_inner.copyFolder(source, destination, overwrite);
}

Status FaultyFileSystem::deleteFile(const std::string& path, Force force) {
  RETURN_IF_FAILED(changeStatus(path, false));
  return m_inner.deleteFile(path, force);
}

Status FaultyFileSystem::deleteFolder(const std::string& path, Force force) {
  RETURN_IF_FAILED(changeStatus(path, false));
  return m_inner.deleteFolder(path, force);
}

Status FaultyFileSystem::moveFile(const std::string& source, const std::string& destination,
                                  Overwrite overwrite) {
  RETURN_IF_FAILED(changeStatus(source, false));
  RETURN_IF_FAILED(changeStatus(destination, false));
  return m_inner.moveFile(source, destination, overwrite);
}

Result<std::vector<DirectoryEntry>> FaultyFileSystem::listFolder(const std::string& folder,
                                                                 const std::string& pattern) {
  if (const Status status = readStatus(folder); status.failed())
    return Result<std::vector<DirectoryEntry>>::failure(status);
  return m_inner.listFolder(folder, pattern);
}

Result<std::vector<DirectoryEntry>> FaultyFileSystem::listFolderWhere(const std::string& folder,
                                                                      const EntryFilter& wanted) {
  if (const Status status = readStatus(folder); status.failed())
    return Result<std::vector<DirectoryEntry>>::failure(status);
  return m_inner.listFolderWhere(folder, wanted);
}

Result<std::unique_ptr<File>> FaultyFileSystem::openFile(const std::string& path, OpenMode mode) {
  const std::string fullPath = full(path);
  if (const Status status = mode == OpenMode::Read ? readStatus(path) : changeStatus(path, false);
      status.failed()) {
    return Result<std::unique_ptr<File>>::failure(status);
  }
  auto opened = m_inner.openFile(path, mode);
  if (!opened) return opened;
  const bool counted = !m_counted || m_counted(path);
  return std::unique_ptr<File>(
      std::make_unique<FaultyFile>(std::move(*opened), *this, fullPath, counted));
}

Result<std::unique_ptr<FileLock>> FaultyFileSystem::lockFile(const std::string& path) {
  if (const Status status = readStatus(path); status.failed())
    return Result<std::unique_ptr<FileLock>>::failure(status);
  return m_inner.lockFile(path);
}

Result<std::string> FaultyFileSystem::createTemporaryFile(const std::string& folder,
                                                          const std::string& prefix) {
  if (const Status status = changeStatus(folder + "\\" + prefix, true); status.failed())
    return Result<std::string>::failure(status);
  return m_inner.createTemporaryFile(folder, prefix);
}

std::vector<DriveInfo> FaultyFileSystem::drives() {
  std::vector<DriveInfo> drives = m_inner.drives();
  std::erase_if(drives, [&](const DriveInfo& info) { return !drive(info.letter).ok(); });
  return drives;
}

Result<DriveInfo> FaultyFileSystem::drive(char letter) {
  if (const Status status = readStatus(std::string(1, letter) + ":\\"); status.failed())
    return Result<DriveInfo>::failure(status);
  return m_inner.drive(letter);
}

}  // namespace platform::testing
