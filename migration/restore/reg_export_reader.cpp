#include "restore/reg_export_reader.h"

#include <map>
#include <optional>
#include <utility>

#include "platform/blanks.h"
#include "platform/text_encoding.h"
#include "platform/text_file.h"

namespace migration {

namespace {

using platform::DWORD;

constexpr std::string_view kHeader4 = "REGEDIT4";
constexpr std::string_view kHeader5 = "Windows Registry Editor Version 5.00";


std::string_view skipBlanks(std::string_view text) {
  while (!text.empty() && platform::isBlank(text.front())) text.remove_prefix(1);
  return text;
}

// Nothing but blanks or a comment.
bool endsCleanly(std::string_view rest) {
  rest = skipBlanks(rest);
  return rest.empty() || rest.front() == ';';
}

bool isHexDigit(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

unsigned hexValue(char c) {
  if (c <= '9') return static_cast<unsigned>(c - '0');
  return static_cast<unsigned>((c | 0x20) - 'a' + 10);
}

struct Unquoted {
  std::string text;
  std::string_view rest;  // after the closing quote
};

// `source` starts after the opening quote.
std::optional<Unquoted> unquote(std::string_view source) {
  Unquoted result;
  for (std::size_t pos = 0; pos < source.size(); ++pos) {
    const char c = source[pos];
    if (c == '"') {
      result.rest = source.substr(pos + 1);
      return result;
    }
    if (c != '\\') {
      result.text += c;
      continue;
    }
    if (++pos == source.size()) return std::nullopt;
    const char escaped = source[pos];
    result.text += escaped == 'n' ? '\n' : escaped == 'r' ? '\r' : escaped;
  }
  return std::nullopt;
}

class ExportReader {
 public:
  explicit ExportReader(std::string_view bytes) : m_lines(platform::splitLines(bytes)) {}

  ExportContents run() {
    if (m_lines.empty() || !isHeader(m_lines[0])) return std::move(m_contents);
    m_contents.isRegistryFile = true;
    for (m_next = 1; m_next < m_lines.size();) {
      m_lineNumber = m_next + 1;
      readLine(skipBlanks(m_lines[m_next++]));
    }
    return std::move(m_contents);
  }

 private:
  static bool isHeader(std::string_view line) {
    line = platform::trimmed(line);
    return line == kHeader4 || line == kHeader5;
  }

  void problem(const std::string& what) {
    m_contents.problems.push_back("line " + std::to_string(m_lineNumber) + ": " + what);
  }

  void readLine(std::string_view text) {
    if (text.empty()) return;
    if (text.front() == '[') return readKey(text.substr(1));
    if (text.front() == '@') return readValue(std::string(), text.substr(1));
    if (text.front() != '"') return;  // comments and anything else the editor ignores
    const std::optional<Unquoted> name = unquote(text.substr(1));
    if (!name) return problem("a value name without its closing quote");
    readValue(name->text, name->rest);
  }

  void readKey(std::string_view text) {
    const std::size_t close = text.rfind(']');
    if (close == std::string_view::npos) {
      m_key.reset();
      return problem("a key line without its closing bracket");
    }
    const std::string_view path = text.substr(0, close);
    // A deleted key holds nothing to look for; its values, if any, are not read.
    if (!path.empty() && path.front() == '-') {
      m_key.reset();
    } else {
      m_key = std::string(path);
    }
  }

  void readValue(std::string name, std::string_view afterName) {
    std::string_view text = skipBlanks(afterName);
    if (text.empty() || text.front() != '=') return problem("no '=' after \"" + name + "\"");
    text = skipBlanks(text.substr(1));
    if (!m_key) return;                                // under a deleted key, or before any key
    if (!text.empty() && text.front() == '-') return;  // a deletion
    ExportedValue value;
    value.key = *m_key;
    value.name = std::move(name);
    std::optional<std::string> data = readData(text, value.type);
    if (!data) return problem("the data of \"" + value.name + "\" cannot be read");
    value.data = std::move(*data);
    keep(std::move(value));
  }

  void keep(ExportedValue value) {
    auto where =
        std::make_pair(platform::ansiToUpper(value.key), platform::ansiToUpper(value.name));
    const auto [found, added] = m_index.try_emplace(std::move(where), m_contents.values.size());
    if (added) {
      m_contents.values.push_back(std::move(value));
    } else {
      m_contents.values[found->second] = std::move(value);
    }
  }

  std::optional<std::string> readData(std::string_view text, DWORD& type) {
    if (text.starts_with("\"")) {
      type = platform::REG_SZ;
      const std::optional<Unquoted> string = unquote(text.substr(1));
      if (!string || !endsCleanly(string->rest)) return std::nullopt;
      return string->text + '\0';
    }
    if (text.starts_with("dword:")) {
      type = platform::REG_DWORD;
      return readDword(text.substr(6));
    }
    if (text.starts_with("hex:")) {
      type = platform::REG_BINARY;
      return readHex(text.substr(4));
    }
    if (text.starts_with("hex(")) {
      const std::size_t close = text.find(')');
      if (close == std::string_view::npos || close == 4 || close > 12) return std::nullopt;
      DWORD number = 0;
      for (const char c : text.substr(4, close - 4)) {
        if (!isHexDigit(c)) return std::nullopt;
        number = (number << 4) | hexValue(c);
      }
      if (close + 1 >= text.size() || text[close + 1] != ':') return std::nullopt;
      type = number;
      return readHex(text.substr(close + 2));
    }
    return std::nullopt;
  }

  static std::optional<std::string> readDword(std::string_view text) {
    text = skipBlanks(text);
    std::size_t digits = 0;
    std::uint32_t value = 0;
    while (digits < text.size() && isHexDigit(text[digits])) {
      value = (value << 4) | hexValue(text[digits++]);
    }
    if (digits == 0 || digits > 8 || !endsCleanly(text.substr(digits))) return std::nullopt;
    std::string bytes(4, '\0');
    for (std::size_t i = 0; i < 4; ++i) bytes[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    return bytes;
  }

  enum class HexLine { Done, Continued, Malformed };

  static HexLine readHexLine(std::string_view text, std::string& bytes) {
    std::size_t pos = 0;
    for (;;) {
      while (pos < text.size() && platform::isBlank(text[pos])) ++pos;
      if (pos == text.size() || text[pos] == ';') return HexLine::Done;
      if (text[pos] == '\\') {
        return endsCleanly(text.substr(pos + 1)) ? HexLine::Continued : HexLine::Malformed;
      }
      unsigned value = 0;
      std::size_t digits = 0;
      while (pos < text.size() && isHexDigit(text[pos])) {
        value = value * 16 + hexValue(text[pos++]);
        if (++digits > 2) return HexLine::Malformed;
      }
      if (digits == 0) return HexLine::Malformed;
      bytes += static_cast<char>(value);
      while (pos < text.size() && platform::isBlank(text[pos])) ++pos;
      if (pos == text.size() || text[pos] == ';') return HexLine::Done;
      if (text[pos] != ',') return HexLine::Malformed;
      ++pos;
    }
  }

  std::optional<std::string> readHex(std::string_view text) {
    std::string bytes;
    for (;;) {
      const HexLine line = readHexLine(text, bytes);
      if (line == HexLine::Malformed) return std::nullopt;
      if (line == HexLine::Done) return bytes;
      // Continued: the next line that is neither blank nor a comment holds more.
      while (m_next < m_lines.size()) {
        const std::string_view next = skipBlanks(m_lines[m_next]);
        if (!next.empty() && next.front() != ';') break;
        ++m_next;
      }
      if (m_next == m_lines.size()) return bytes;  // the file ended: what was read stands
      text = skipBlanks(m_lines[m_next]);
      if (!isHexDigit(text.front())) return std::nullopt;
      ++m_next;
    }
  }

  std::vector<std::string_view> m_lines;
  std::size_t m_next = 0;
  std::size_t m_lineNumber = 1;
  std::optional<std::string> m_key;
  std::map<std::pair<std::string, std::string>, std::size_t> m_index;
  ExportContents m_contents;
};

}  // namespace

ExportContents ReadRegistryExport(std::string_view bytes) {
  // A file that starts with FF FE is UTF-16: its text is read as the ANSI it stands for.
  if (bytes.starts_with("\xff\xfe")) {
    const std::string ansi =
        platform::utf16ToAnsi(platform::utf16FromLittleEndian(bytes.substr(2)));
    return ExportReader(ansi).run();
  }
  return ExportReader(bytes).run();
}

}  // namespace migration
