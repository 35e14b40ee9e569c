// The native machine's file system: Windows paths over a machine root laid out as a Wine
// prefix, with the file-system object's semantics for copies and deletes.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "host_files.h"
#include "native_drives.h"
#include "path_resolver.h"
#include "platform/file_system.h"
#include "platform/registry.h"

namespace platform {

class NativeFileSystem final : public FileSystem {
 public:
  // `registry` gives the drive types (HKLM\Software\Wine\Drives); without one every drive has
  // its default type. The registry must outlive the file system. The current directory starts
  // at C:\.
  explicit NativeFileSystem(std::filesystem::path machineRoot, Registry* registry = nullptr);

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
  Result<std::string> fullPath(const std::string& path) override;
  std::string currentDirectory() override;
  Status setCurrentDirectory(const std::string& path) override;
  Result<std::string> createTemporaryFile(const std::string& folder,
                                          const std::string& prefix) override;
  std::vector<DriveInfo> drives() override;
  Result<DriveInfo> drive(char letter) override;

  // Where a Windows path lands on the host (for tools and tests).
  Result<HostPath> locate(const std::string& path, Wildcards wildcards = Wildcards::Refuse);

 private:
  enum class Kind { File, Folder };
  // The entries of a folder whose names match the last name of `path` (wildcards allowed).
  Result<std::vector<HostEntry>> matching(const std::string& path, Kind kind);
  Result<HostPath> existingFolder(const std::string& path);
  Status copyFileInto(const std::vector<HostEntry>& sources, const std::string& destination,
                      Overwrite overwrite);

  PathResolver m_resolver;
  NativeDrives m_drives;
  WindowsPath m_current;
  unsigned m_nextTemporary = 1;
};

}  // namespace platform
