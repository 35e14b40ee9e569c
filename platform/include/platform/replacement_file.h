// Rewriting a file without ever leaving it half-written: the new content goes to a fresh file
// beside the old one (a temporary name in the same folder, so that both lie on one drive) and
// takes the old one's place by a rename only once it is complete. Until then, and after any
// failure, the old file stays exactly as it was; on the native backend the rename is atomic.
// Backend independent.
#pragma once

#include <functional>
#include <string>

#include "platform/file_system.h"
#include "platform/text_file.h"

namespace platform {

class ReplacementFile {
 public:
  // Creates an empty file with a fresh name in the folder of `path` (the current directory for
  // a bare name).
  static Result<ReplacementFile> beside(FileSystem& files, std::string path);
  // Removes the new file unless it was committed.
  ~ReplacementFile();
  ReplacementFile(ReplacementFile&& other) noexcept;
  ReplacementFile& operator=(ReplacementFile&&) = delete;
  ReplacementFile(const ReplacementFile&) = delete;
  ReplacementFile& operator=(const ReplacementFile&) = delete;

  // The file to replace, and where its new content is written meanwhile.
  const std::string& path() const { return m_path; }
  const std::string& temporaryPath() const { return m_temporary; }

  // Renames the new file over the old one. Close the new file first.
  [[nodiscard]] Status commit();
  // Removes the new file now; the old one stays.
  void discard();

 private:
  ReplacementFile(FileSystem& files, std::string path, std::string temporary);
  FileSystem* m_files;
  std::string m_path;
  std::string m_temporary;  // empty once committed or discarded
};

// Writes `bytes` as the whole new content of `path`, beside it first.
[[nodiscard]] Status replaceWholeFile(FileSystem& files, const std::string& path,
                                      const std::string& bytes);

// Writes the new text of `path` with `write`, beside it first; the old file is replaced only
// when `write` and the close succeed.
[[nodiscard]] Status replaceTextFile(FileSystem& files, const std::string& path,
                                     const std::function<Status(TextWriter&)>& write);

}  // namespace platform
