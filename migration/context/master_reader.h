// Reads the master command file during a restore. Every read takes one whole line, so that a
// header is never taken for part of an entry: a line read as a field gives its first field, a
// line read as a record its first two fields (missing ones empty). Reading past the end gives
// empty text and false; atEnd says beforehand whether a line is left, as the restore's loops
// over a list of entries ask.
#pragma once

#include <string>

#include "platform/file_system.h"
#include "platform/text_file.h"

namespace migration {

class MasterReader {
 public:
  // Fails with the platform's status (file missing, no access) when the file cannot be read.
  static platform::Result<MasterReader> open(platform::FileSystem& files, const std::string& path);

  // True when no line is left.
  bool atEnd() { return m_reader.atEnd(); }
  // The next line without its line end.
  bool readLine(std::string& line);
  // The first field of the next line (see SplitQuotedFields); the rest of the line is passed
  // over.
  bool readField(std::string& field);
  // The first two fields of the next line, as the printer records hold them.
  bool readRecord(std::string& first, std::string& second);
  [[nodiscard]] platform::Status close() { return m_reader.close(); }

 private:
  explicit MasterReader(platform::TextReader reader) : m_reader(std::move(reader)) {}
  platform::TextReader m_reader;
};

}  // namespace migration
