// Rewrites a file safely: the new content goes to a fresh file beside it, which replaces the
// old one by a rename only once it is complete. A failure leaves the old file as it was.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "platform/file_system.h"
#include "temporary_file.h"

namespace parcelon {

class FileReplacement {
 public:
  using Writer = std::function<platform::Status(platform::File&)>;

  // The new file is deleted again when it is not committed.
  FileReplacement(platform::FileSystem& files, std::string path);

  // Creates the new file beside the old one and fills it with `write`.
  [[nodiscard]] platform::Status write(const Writer& write);
  // Renames the new file over the old one. Close every handle on the old file first.
  [[nodiscard]] platform::Status commit();

 private:
  platform::FileSystem& m_files;
  std::string m_path;
  std::optional<TemporaryFile> m_temporary;
  bool m_written = false;
};

}  // namespace parcelon
