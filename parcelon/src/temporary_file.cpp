#include "temporary_file.h"

#include "archive_paths.h"

namespace parcelon {

platform::Result<TemporaryFile> TemporaryFile::createBeside(platform::FileSystem& files,
                                                            const std::string& path) {
  std::string folder = folderOf(path);
  if (folder.empty()) folder = files.currentDirectory();
  auto created = files.createTemporaryFile(folder, "pcl");
  if (!created) return platform::Result<TemporaryFile>::failure(created.status(), folder);
  return TemporaryFile(files, std::move(*created));
}

TemporaryFile::TemporaryFile(platform::FileSystem& files, std::string path)
    : m_files(&files), m_path(std::move(path)) {}

TemporaryFile::TemporaryFile(TemporaryFile&& other) noexcept
    : m_files(other.m_files), m_path(std::move(other.m_path)) {
  other.m_path.clear();
}

TemporaryFile::~TemporaryFile() {
  if (!m_path.empty()) {
    // Best effort: a stray temporary file harms nobody, and there is no caller left to tell.
    platform::ignoreFailure(m_files->deleteFile(m_path, platform::Force::Yes), "removing a temporary file");
  }
}

platform::Status TemporaryFile::moveTo(const std::string& destination) {
  const auto status = m_files->moveFile(m_path, destination, platform::Overwrite::Yes);
  if (status.ok()) m_path.clear();
  return status;
}

}  // namespace parcelon
