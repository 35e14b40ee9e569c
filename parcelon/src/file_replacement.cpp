#include "file_replacement.h"

namespace parcelon {

FileReplacement::FileReplacement(platform::FileSystem& files, std::string path)
    : m_files(files), m_path(std::move(path)) {}

platform::Status FileReplacement::write(const Writer& write) {
  auto temporary = TemporaryFile::createBeside(m_files, m_path);
  if (!temporary) return temporary.status();
  m_temporary.emplace(std::move(*temporary));
  auto file = m_files.openFile(m_temporary->path(), platform::OpenMode::CreateTruncate);
  if (!file) return file.status();
  const auto written = write(**file);
  const auto closed = (*file)->close();
  if (written.failed()) return written;
  if (closed.failed()) return closed;
  m_written = true;
  return platform::ERROR_SUCCESS;
}

platform::Status FileReplacement::commit() {
  if (!m_written) return platform::ERROR_INVALID_HANDLE;
  return m_temporary->moveTo(m_path);
}

}  // namespace parcelon
