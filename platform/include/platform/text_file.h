// ANSI text files with CR LF lines over the platform's files, as the program's text streams
// read and write them. Backend independent.
#pragma once

#include <memory>
#include <string>
#include <vector>
#include <string_view>

#include "platform/file_system.h"

namespace platform {

// Reads lines ended by CR LF, LF or CR; the last line may lack its end.
class TextReader {
 public:
  static Result<TextReader> open(FileSystem& files, const std::string& path);
  explicit TextReader(std::unique_ptr<File> file);

  bool atEnd();
  // False at the end of the file or on a read failure; `line` holds the line without its end.
  bool readLine(std::string& line);
  Status close();

 private:
  bool fill();
  std::unique_ptr<File> m_file;
  std::string m_buffer;
  std::size_t m_next = 0;
  bool m_eof = false;
};

// Writes text; writeLine adds CR LF.
class TextWriter {
 public:
  // CreateTruncate replaces the file, Append adds to its end.
  static Result<TextWriter> open(FileSystem& files, const std::string& path, OpenMode mode);
  explicit TextWriter(std::unique_ptr<File> file);

  Status write(const std::string& text);
  Status writeLine(const std::string& line);
  Status close();

 private:
  std::unique_ptr<File> m_file;
};

// The lines of a text held in memory, as TextReader reads them from a file: a line ends at CR, LF
// or CR LF, and a text that ends with a line break has no empty last line. The views point into
// `text`.
std::vector<std::string_view> splitLines(std::string_view text);

// Whole-file helpers for tests and small files.
Result<std::string> readWholeFile(FileSystem& files, const std::string& path);
Status writeWholeFile(FileSystem& files, const std::string& path, const std::string& bytes);

}  // namespace platform
