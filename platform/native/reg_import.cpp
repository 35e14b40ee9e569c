#include "reg_import.h"

#include <cstdint>
#include <optional>

#include "platform/text_encoding.h"
#include "text_scan.h"
#include "platform/blanks.h"
#include "platform/text_file.h"

namespace platform {
namespace {

constexpr std::string_view kHeader4 = "REGEDIT4";
constexpr std::string_view kHeader5 = "Windows Registry Editor Version 5.00";

struct RootName {
  std::string_view name;
  HKEY key;
};
constexpr RootName kRoots[] = {
    {"HKEY_LOCAL_MACHINE", HKEY_LOCAL_MACHINE}, {"HKEY_USERS", HKEY_USERS},
    {"HKEY_CLASSES_ROOT", HKEY_CLASSES_ROOT},   {"HKEY_CURRENT_CONFIG", HKEY_CURRENT_CONFIG},
    {"HKEY_CURRENT_USER", HKEY_CURRENT_USER},   {"HKEY_DYN_DATA", HKEY_DYN_DATA},
};

enum class Encoding { Ansi, Utf16 };

std::string_view trimEnd(std::string_view text) {
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
  return text;
}

// Nothing, or a comment, is all that may follow a value's data.
bool endsCleanly(std::string_view rest) {
  rest = skipBlanks(rest);
  return rest.empty() || rest.front() == ';';
}

std::string decodeFile(std::string_view bytes, Encoding& encoding) {
  if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
      static_cast<unsigned char>(bytes[1]) == 0xFE) {
    encoding = Encoding::Utf16;
    // FIXME: the import goes through the "A" functions, so a character Windows-1252 lacks
    // arrives as '?'; the program's own exports are ANSI and never hold one.
    return utf16ToAnsi(utf16FromLittleEndian(bytes.substr(2)));
  }
  encoding = Encoding::Ansi;
  return std::string(bytes);
}


struct QuotedText {
  std::string text;
  std::string_view rest;  // what follows the closing quote
};

// The text of a quoted name or string, up to its closing quote: \\ is \, \" is ", \n and \r
// are line breaks, and any other backslash pair drops the backslash.
std::optional<QuotedText> unquote(std::string_view source) {
  QuotedText result;
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
    if (++pos == source.size()) return std::nullopt;  // a backslash ends the line
    const char escaped = source[pos];
    result.text += escaped == 'n' ? '\n' : escaped == 'r' ? '\r' : escaped;
  }
  return std::nullopt;
}

class RegFileImporter {
 public:
  RegFileImporter(Registry& registry, std::string_view bytes) : m_registry(registry) {
    m_text = decodeFile(bytes, m_encoding);
    m_lines = splitLines(m_text);
  }
  // The lines point into m_text.
  RegFileImporter(const RegFileImporter&) = delete;
  RegFileImporter& operator=(const RegFileImporter&) = delete;

  RegImportOutcome run() {
    if (m_lines.empty() || !isHeader(m_lines[0])) {
      m_outcome.problems.push_back("line 1: not a registry file, nothing imported");
      return m_outcome;
    }
    m_outcome.imported = true;
    for (m_next = 1; m_next < m_lines.size();) {
      m_lineNumber = m_next + 1;
      readLine(m_lines[m_next++]);
    }
    closeKey();
    return m_outcome;
  }

 private:
  static bool isHeader(std::string_view line) {
    line = skipBlanks(line);
    return line == kHeader4 || line == kHeader5;
  }

  void problem(const std::string& what) {
    m_outcome.problems.push_back("line " + std::to_string(m_lineNumber) + ": " + what);
  }

  void readLine(std::string_view line) {
    const std::string_view text = skipBlanks(line);
    if (text.empty()) return;
    if (text.front() == '[') return readKeyLine(text.substr(1));
    if (text.front() == '@') return readValue(std::string(), text.substr(1));
    if (text.front() == '"') {
      const std::optional<QuotedText> name = unquote(text.substr(1));
      if (!name) return problem("value name without its closing quote, value not imported");
      return readValue(name->text, name->rest);
    }
    // Comments and anything else are not for the registry.
  }

  void readKeyLine(std::string_view text) {
    closeKey();
    const std::size_t end = text.rfind(']');
    if (text.empty() || isBlank(text.front()) || end == std::string_view::npos) {
      return problem("malformed key line, its values are not imported");
    }
    const std::string_view path = text.substr(0, end);
    if (!path.empty() && path.front() == '-') return deleteKey(path.substr(1));
    openKey(path);
  }

  // The predefined key a path starts with, and the rest of the path.
  static std::optional<std::pair<HKEY, std::string>> splitRoot(std::string_view path) {
    for (const RootName& root : kRoots) {
      if (path.size() < root.name.size() ||
          !ansiEqualNoCase(path.substr(0, root.name.size()), root.name)) {
        continue;
      }
      const std::string_view rest = path.substr(root.name.size());
      if (rest.empty()) return std::make_pair(root.key, std::string());
      if (rest.front() == '\\') return std::make_pair(root.key, std::string(rest.substr(1)));
    }
    return std::nullopt;
  }

  void openKey(std::string_view path) {
    const auto root = splitRoot(path);
    if (!root) return problem("unknown root in [" + std::string(path) + "], values passed over");
    HKEY key = 0;
    const Status status = m_registry.RegCreateKeyExA(root->first, root->second.c_str(),
                                                   KEY_ALL_ACCESS, &key, nullptr);
    if (status.failed()) {
      return problem("cannot open [" + std::string(path) + "] (" + toString(status) + ")");
    }
    m_key = key;
    ++m_outcome.keysOpened;
  }

  void deleteKey(std::string_view path) {
    const auto root = splitRoot(path);
    if (!root) return problem("unknown root in [-" + std::string(path) + "]");
    if (root->second.empty()) return problem("a root key cannot be deleted");
    const Status status = m_registry.RegDeleteTreeA(root->first, root->second.c_str());
    if (status.ok()) {
      ++m_outcome.keysDeleted;
    } else if (status != ERROR_FILE_NOT_FOUND) {
      problem("cannot delete [" + std::string(path) + "] (" + toString(status) + ")");
    }
  }

  void closeKey() {
    if (m_key == 0) return;
    // A failure to write the hive back shows in the registry's own status; nothing to undo here.
    ignoreFailure(m_registry.RegCloseKey(m_key), "closing an imported key");
    m_key = 0;
  }

  void readValue(const std::string& name, std::string_view afterName) {
    std::string_view text = skipBlanks(afterName);
    if (text.empty() || text.front() != '=') return problem("no '=' after the value name");
    text = trimEnd(skipBlanks(text.substr(1)));
    if (m_key == 0) return problem("no key open, value passed over");
    if (!text.empty() && text.front() == '-') return deleteValue(name, text.substr(1));

    DWORD type = REG_NONE;
    std::optional<std::string> data = readData(text, type);
    if (!data) return problem("value \"" + name + "\" not imported: malformed data");
    const Status status = m_registry.RegSetValueExA(m_key, name.c_str(), type,
                                                  reinterpret_cast<const BYTE*>(data->data()),
                                                  static_cast<DWORD>(data->size()));
    if (status.failed()) {
      return problem("value \"" + name + "\" not set (" + toString(status) + ")");
    }
    ++m_outcome.valuesSet;
  }

  void deleteValue(const std::string& name, std::string_view rest) {
    if (!endsCleanly(rest)) return problem("malformed deletion of \"" + name + "\"");
    const Status status = m_registry.RegDeleteValueA(m_key, name.c_str());
    if (status.ok()) ++m_outcome.valuesDeleted;
  }

  std::optional<std::string> readData(std::string_view text, DWORD& type) {
    if (text.starts_with("\"")) {
      type = REG_SZ;
      const std::optional<QuotedText> string = unquote(text.substr(1));
      // An unescaped quote inside the text leaves more after the "closing" one.
      if (!string || !endsCleanly(string->rest)) return std::nullopt;
      return string->text + '\0';
    }
    if (text.starts_with("dword:")) {
      type = REG_DWORD;
      return readDword(text.substr(6));
    }
    if (text.starts_with("hex:")) {
      type = REG_BINARY;
      return readHex(text.substr(4), type);
    }
    const std::optional<HexTypeTag> tag = readHexTypeTag(text);
    if (!tag) return std::nullopt;
    type = tag->type;
    return readHex(text.substr(tag->length), type);
  }

  // One to eight hex digits.
  static std::optional<std::string> readDword(std::string_view text) {
    text = skipBlanks(text);
    std::size_t digits = 0;
    std::uint32_t value = 0;
    while (digits < text.size() && isHexDigit(text[digits])) {
      value = (value << 4) | hexValue(text[digits++]);
    }
    if (digits == 0 || digits > 8 || !endsCleanly(text.substr(digits))) return std::nullopt;
    std::string bytes(4, '\0');
    for (int i = 0; i < 4; ++i) bytes[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    return bytes;
  }

  enum class HexLine { Done, Continued, Malformed };

  // Reads the bytes of one line into `bytes`.
  static HexLine readHexLine(std::string_view text, std::string& bytes) {
    std::size_t pos = 0;
    for (;;) {
      while (pos < text.size() && isBlank(text[pos])) ++pos;
      if (pos == text.size() || text[pos] == ';') return HexLine::Done;
      if (text[pos] == '\\') {
        return endsCleanly(text.substr(pos + 1)) ? HexLine::Continued : HexLine::Malformed;
      }
      unsigned value = 0;
      std::size_t digits = 0;
      while (pos < text.size() && isHexDigit(text[pos])) {
        value = value * 16 + hexValue(text[pos++]);
        ++digits;
        if (value > 0xFF) return HexLine::Malformed;
      }
      if (digits == 0) return HexLine::Malformed;
      bytes += static_cast<char>(value);
      while (pos < text.size() && isBlank(text[pos])) ++pos;
      if (pos == text.size() || text[pos] == ';') return HexLine::Done;
      if (text[pos] != ',') return HexLine::Malformed;  // a backslash must follow a comma
      ++pos;
    }
  }

  std::optional<std::string> readHex(std::string_view text, DWORD type) {
    std::string bytes;
    for (;;) {
      const HexLine line = readHexLine(text, bytes);
      if (line == HexLine::Malformed) return std::nullopt;
      if (line == HexLine::Done) break;
      const std::optional<std::string_view> next = nextContinuation();
      if (!next) return std::nullopt;
      if (next->empty()) break;  // the file ended: what was read stands
      text = *next;
    }
    return asAnsiData(std::move(bytes), type);
  }

  // The next line of continued hex data, skipping blank and comment lines; an empty view at
  // the end of the file; nothing when the next line holds something else, which is then read as
  // a line of its own.
  std::optional<std::string_view> nextContinuation() {
    while (m_next < m_lines.size()) {
      const std::string_view line = skipBlanks(m_lines[m_next]);
      if (!line.empty() && line.front() != ';') {
        if (!isHexDigit(line.front())) return std::nullopt;
        ++m_next;
        return line;
      }
      ++m_next;
    }
    return std::string_view();
  }

  // String types given as hex hold the file's characters: ANSI bytes, or UTF-16LE in a Unicode
  // file. The registry's "A" functions take ANSI, with a NUL at the end.
  std::string asAnsiData(std::string bytes, DWORD type) const {
    if (type != REG_SZ && type != REG_EXPAND_SZ && type != REG_MULTI_SZ) return bytes;
    if (m_encoding == Encoding::Utf16) {
      std::u16string text = utf16FromLittleEndian(bytes);
      if (!text.empty() && text.back() != u'\0') text += u'\0';
      return utf16ToAnsi(text);
    }
    if (!bytes.empty() && bytes.back() != '\0') bytes += '\0';
    return bytes;
  }

  Registry& m_registry;
  Encoding m_encoding = Encoding::Ansi;
  std::string m_text;
  std::vector<std::string_view> m_lines;
  std::size_t m_next = 0;
  std::size_t m_lineNumber = 1;
  HKEY m_key = 0;
  RegImportOutcome m_outcome;
};

}  // namespace

RegImportOutcome importRegFile(Registry& registry, std::string_view fileBytes) {
  return RegFileImporter(registry, fileBytes).run();
}

}  // namespace platform
