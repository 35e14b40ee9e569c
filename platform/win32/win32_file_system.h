// The file system of the machine the program runs on, through the "A" file functions
// (FindFirstFileA, CopyFileA, CreateFileA, GetDriveTypeA, GetVolumeInformationA...).
//
// Paths are parsed by the platform's own Windows path rules against a current directory kept
// here, so relative paths, "/" separators and ".." mean what they mean on the simulated machine
// and the process's own current directory is never changed. Listings match their patterns with
// the platform's wildcard rules over the long names only: FindFirstFileA would also match the
// 8.3 short names ("*.doc" finding "report.docx" through "REPORT~1.DOC").
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "windows_path.h"

namespace platform {

class Win32FileSystem final : public FileSystem {
 public:
  // Starts in the process's current directory.
  Win32FileSystem();

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
                                                 const std::string& pattern) override;
  Result<std::unique_ptr<File>> openFile(const std::string& path, OpenMode mode) override;
  Result<std::unique_ptr<FileLock>> lockFile(const std::string& path) override;
  Result<std::string> fullPath(const std::string& path) override;
  std::string currentDirectory() override;
  Status setCurrentDirectory(const std::string& path) override;
  Result<std::string> createTemporaryFile(const std::string& folder,
                                          const std::string& prefix) override;
  std::vector<DriveInfo> drives() override;
  Result<DriveInfo> drive(char letter) override;

 private:
  enum class Kind { File, Folder };

  Result<WindowsPath> resolve(const std::string& path,
                              Wildcards wildcards = Wildcards::Refuse) const;
  // GetFileAttributesA of an absolute path; the failure's status when there is nothing.
  Result<std::uint32_t> attributesOf(const WindowsPath& path) const;
  Result<WindowsPath> existingFolder(const std::string& path) const;
  // The entries of a folder that match the last name of `path` and are of `kind`.
  Result<std::vector<WindowsPath>> matching(const std::string& path, Kind kind);
  Status copyTree(const WindowsPath& from, const WindowsPath& to, Overwrite overwrite);
  Status removeTree(const WindowsPath& folder);
  bool treeHasReadOnlyFile(const WindowsPath& folder);

  WindowsPath m_current;
};

}  // namespace platform
