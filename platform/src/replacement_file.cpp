#include "platform/replacement_file.h"

#include <utility>

namespace platform {

namespace {

// The folder part of a Windows path, without its final separator; empty for a bare name.
std::string folderOf(const std::string& path) {
  const std::size_t separator = path.find_last_of("\\/");
  if (separator != std::string::npos) {
    // "C:\x" keeps its root: "C:\".
    return path.substr(0, separator == 2 && path[1] == ':' ? separator + 1 : separator);
  }
  if (path.size() >= 2 && path[1] == ':') return path.substr(0, 2);
  return {};
}

// The first letters of the file's own name, so that a stray temporary file shows whose it was.
std::string prefixFor(const std::string& path) {
  const std::size_t separator = path.find_last_of("\\/:");
  std::string name = separator == std::string::npos ? path : path.substr(separator + 1);
  name = name.substr(0, name.find('.'));
  return name.empty() ? std::string("new") : name;
}

}  // namespace

Result<ReplacementFile> ReplacementFile::beside(FileSystem& files, std::string path) {
  std::string folder = folderOf(path);
  if (folder.empty()) folder = files.currentDirectory();
  auto created = files.createTemporaryFile(folder, prefixFor(path));
  if (!created) return Result<ReplacementFile>::failure(created.status(), path);
  return ReplacementFile(files, std::move(path), std::move(*created));
}

ReplacementFile::ReplacementFile(FileSystem& files, std::string path, std::string temporary)
    : m_files(&files), m_path(std::move(path)), m_temporary(std::move(temporary)) {}

ReplacementFile::ReplacementFile(ReplacementFile&& other) noexcept
    : m_files(other.m_files),
      m_path(std::move(other.m_path)),
      m_temporary(std::move(other.m_temporary)) {
  other.m_temporary.clear();
}

ReplacementFile::~ReplacementFile() { discard(); }

Status ReplacementFile::commit() {
  if (m_temporary.empty()) return ERROR_INVALID_HANDLE;
  RETURN_IF_FAILED(m_files->moveFile(m_temporary, m_path, Overwrite::Yes));
  m_temporary.clear();
  return ERROR_SUCCESS;
}

void ReplacementFile::discard() {
  if (m_temporary.empty()) return;
  // A stray temporary file harms nothing; the old file is what matters, and it is untouched.
  ignoreFailure(m_files->deleteFile(m_temporary, Force::Yes), "removing an unfinished new file");
  m_temporary.clear();
}

Status replaceWholeFile(FileSystem& files, const std::string& path, const std::string& bytes) {
  auto replacement = ReplacementFile::beside(files, path);
  if (!replacement) return replacement.status();
  RETURN_IF_FAILED(writeWholeFile(files, replacement->temporaryPath(), bytes));
  return replacement->commit();
}

Status replaceTextFile(FileSystem& files, const std::string& path,
                       const std::function<Status(TextWriter&)>& write) {
  auto replacement = ReplacementFile::beside(files, path);
  if (!replacement) return replacement.status();
  auto writer = TextWriter::open(files, replacement->temporaryPath(), OpenMode::CreateTruncate);
  if (!writer) return writer.status();
  const Status written = write(*writer);
  const Status closed = writer->close();
  RETURN_IF_FAILED(written);
  RETURN_IF_FAILED(closed);
  return replacement->commit();
}

}  // namespace platform
