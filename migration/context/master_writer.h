// Writes the master command file during a capture: created anew, then line by line. The capture
// driver writes the headers, entries and closing empty lines; the printer capture writes its
// records through the same open file.
#pragma once

#include <string>
#include <string_view>

#include "platform/file_system.h"
#include "platform/text_file.h"

namespace migration {

class MasterWriter {
 public:
  // Creates the file or empties an existing one.
  static platform::Result<MasterWriter> create(platform::FileSystem& files,
                                               const std::string& path);

  // One line: the text and CR LF.
  [[nodiscard]] platform::Status WriteMasterLine(std::string_view text);
  // One printer record: "name","value" and CR LF.
  [[nodiscard]] platform::Status writeRecord(std::string_view name, std::string_view value);
  [[nodiscard]] platform::Status close();

 private:
  explicit MasterWriter(platform::TextWriter writer) : m_writer(std::move(writer)) {}
  platform::TextWriter m_writer;
};

}  // namespace migration
