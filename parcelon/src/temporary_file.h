// A fresh file beside another one that is deleted again unless it was renamed into place.
#pragma once

#include <string>

#include "platform/file_system.h"

namespace parcelon {

class TemporaryFile {
 public:
  // An empty file with a fresh name in the folder of `path` (the current directory for a bare
  // name): beside it, so that renaming it over `path` stays on one drive.
  static platform::Result<TemporaryFile> createBeside(platform::FileSystem& files,
                                                      const std::string& path);
  ~TemporaryFile();
  TemporaryFile(TemporaryFile&& other) noexcept;
  TemporaryFile& operator=(TemporaryFile&&) = delete;
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  const std::string& path() const { return m_path; }
  // Renames the file over `destination`; it is then no longer deleted.
  [[nodiscard]] platform::Status moveTo(const std::string& destination);

 private:
  TemporaryFile(platform::FileSystem& files, std::string path);
  platform::FileSystem* m_files;
  std::string m_path;  // empty once moved into place
};

}  // namespace parcelon
