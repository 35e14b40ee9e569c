#include "platform/text_file.h"

#include <utility>

namespace platform {
namespace {

constexpr std::size_t kChunk = 16 * 1024;

}  // namespace

Result<TextReader> TextReader::open(FileSystem& files, const std::string& path) {
  auto file = files.openFile(path, OpenMode::Read);
  if (!file) return Result<TextReader>::failure(file.status(), file.subject());
  return TextReader(std::move(file).value());
}

TextReader::TextReader(std::unique_ptr<File> file) : m_file(std::move(file)) {}

// Appends the next chunk to the buffer; false at the end of the file or on a failure.
bool TextReader::fill() {
  if (m_eof || !m_file) return false;
  if (m_next > 0) {
    m_buffer.erase(0, m_next);
    m_next = 0;
  }
  const std::size_t old = m_buffer.size();
  m_buffer.resize(old + kChunk);
  auto count = m_file->read(m_buffer.data() + old, kChunk);
  const std::size_t got = count ? *count : 0;
  m_buffer.resize(old + got);
  if (got == 0) m_eof = true;  // a read failure ends the text as the end of file does
  return got > 0;
}

bool TextReader::atEnd() {
  while (m_next >= m_buffer.size()) {
    if (!fill()) return true;
  }
  return false;
}

bool TextReader::readLine(std::string& line) {
  if (atEnd()) return false;
  // `scanned` counts the bytes after m_next known to hold no line end, so that a long line is
  // searched once however many chunks it spans.
  std::size_t scanned = 0;
  std::size_t end = std::string::npos;
  for (;;) {
    end = m_buffer.find_first_of("\r\n", m_next + scanned);
    // NOTE: a CR at the end of the buffer may be the first half of a CR LF.
    const bool split =
        end != std::string::npos && m_buffer[end] == '\r' && end + 1 == m_buffer.size();
    if (end != std::string::npos && !split) break;
    scanned = (end == std::string::npos ? m_buffer.size() : end) - m_next;
    if (!fill()) {
      end = m_buffer.find_first_of("\r\n", m_next + scanned);
      break;
    }
  }
  if (end == std::string::npos) {
    line.assign(m_buffer, m_next, std::string::npos);
    m_next = m_buffer.size();
    return true;
  }
  line.assign(m_buffer, m_next, end - m_next);
  m_next = end + 1;
  if (m_buffer[end] == '\r' && m_next < m_buffer.size() && m_buffer[m_next] == '\n') ++m_next;
  return true;
}

Status TextReader::close() {
  if (!m_file) return ERROR_INVALID_HANDLE;
  const Status status = m_file->close();
  m_file.reset();
  return status;
}

Result<TextWriter> TextWriter::open(FileSystem& files, const std::string& path, OpenMode mode) {
  auto file = files.openFile(path, mode);
  if (!file) return Result<TextWriter>::failure(file.status(), file.subject());
  return TextWriter(std::move(file).value());
}

TextWriter::TextWriter(std::unique_ptr<File> file) : m_file(std::move(file)) {}

Status TextWriter::write(const std::string& text) {
  if (!m_file) return ERROR_INVALID_HANDLE;
  return m_file->write(text.data(), text.size());
}

Status TextWriter::writeLine(const std::string& line) { return write(line + "\r\n"); }

Status TextWriter::close() {
  if (!m_file) return ERROR_INVALID_HANDLE;
  const Status status = m_file->close();
  m_file.reset();
  return status;
}

std::vector<std::string_view> splitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      lines.push_back(text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1);
  }
  return lines;
}

Result<std::string> readWholeFile(FileSystem& files, const std::string& path) {
  auto file = files.openFile(path, OpenMode::Read);
  if (!file) return Result<std::string>::failure(file.status(), file.subject());
  std::string bytes;
  char chunk[kChunk];
  for (;;) {
    auto count = (*file)->read(chunk, sizeof chunk);
    if (!count) return Result<std::string>::failure(count.status(), path);
    if (*count == 0) break;
    bytes.append(chunk, *count);
  }
  return bytes;
}

Status writeWholeFile(FileSystem& files, const std::string& path, const std::string& bytes) {
  auto file = files.openFile(path, OpenMode::CreateTruncate);
  if (!file) return file.status();
  const Status written = (*file)->write(bytes.data(), bytes.size());
  const Status closed = (*file)->close();
  return written.failed() ? written : closed;
}

}  // namespace platform
