#include "registry_file_reader.h"

#include <cstdint>
#include <string>
#include <vector>

#include "platform/text_encoding.h"
#include "registry_escapes.h"
#include "registry_file_format.h"
#include "text_scan.h"

namespace platform {
namespace {

bool isFileBlank(char c) { return kFileBlanks.find(c) != std::string_view::npos; }

std::vector<std::string_view> splitLines(std::string_view bytes) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  while (start < bytes.size()) {
    std::size_t end = bytes.find('\n', start);
    if (end == std::string_view::npos) end = bytes.size();
    std::string_view line = bytes.substr(start, end - start);
    // Every CR before the line end goes: a kept line ending in one would lose it once written
    // back with LF, and a second rewrite would differ from the first.
    while (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

struct ValueData {
  DWORD type = REG_NONE;
  std::string bytes;
};

class RegistryFileReader {
 public:
  RegistryFileReader(std::string_view bytes, FileTime now)
      : m_lines(splitLines(bytes)), m_now(now), m_hive(std::make_unique<RegistryHive>()) {
    m_hive->root->modified = now;
  }

  Result<std::unique_ptr<RegistryHive>> read() {
    if (m_lines.empty() || m_lines[0] != kRegistryFileHeader) {
      return Result<std::unique_ptr<RegistryHive>>::failure(
          ERROR_BADDB, "it does not start as a registry file does");
    }
    for (m_next = 1; m_next < m_lines.size();) {
      const std::string_view line = m_lines[m_next++];
      if (!readLine(line)) {
        return Result<std::unique_ptr<RegistryHive>>::failure(ERROR_BADDB, std::string(line));
      }
    }
    return std::move(m_hive);
  }

 private:
  // False when the line refuses the whole file.
  bool readLine(std::string_view line) {
    const std::string_view text = skipBlanks(line, kFileBlanks);
    if (text.empty()) {
      ++m_pendingBlanks;
      return true;
    }
    switch (text[0]) {
      case '[':
        if (!readKeyLine(text.substr(1))) keepLine(line);
        return true;
      case '@':
      case '"':
        if (m_key == nullptr || !readValueLine(line, text)) keepLine(line);
        return true;
      case '#':
        if (m_key == nullptr) {
          keepLine(line);
          return acceptGlobalOption(text);
        }
        if (!readKeyOption(text)) keepLine(line);
        return true;
      default:
        keepLine(line);
        return true;
    }
  }

  // A line we do not understand, kept where it stands, with the blank lines just before it.
  void keepLine(std::string_view line) {
    std::vector<std::string>& sink = currentSink();
    sink.insert(sink.end(), m_pendingBlanks, std::string());
    m_pendingBlanks = 0;
    sink.emplace_back(line);
  }

  std::vector<std::string>& currentSink() {
    if (m_sinkKey == nullptr) return m_hive->preamble;
    if (m_sinkValue == kAtEnd) return m_sinkKey->linesAtEnd;
    if (m_sinkValue < m_sinkKey->values.size()) return m_sinkKey->values[m_sinkValue].linesAfter;
    return m_sinkKey->optionLines;
  }

  bool acceptGlobalOption(std::string_view text) {
    if (!text.starts_with("#arch=")) return true;
    const std::string_view arch = text.substr(6);
    return arch == "win32" || arch == "win64";
  }

  bool readKeyLine(std::string_view afterBracket) {
    m_pendingBlanks = 0;
    const std::optional<UnescapedText> path = unescapeRegistryText(afterBracket, ']');
    RegistryKey* key = path ? createKey(path->text) : nullptr;
    // A key line that cannot be read leaves no key open: the values after it are kept as lines.
    m_key = key;
    if (key == nullptr) {
      m_sinkValue = kAtEnd;
      return false;
    }
    key->modified = keyLineTime(afterBracket.substr(path->consumed));
    m_sinkKey = key;
    m_sinkValue = key->values.empty() ? kNoValue : key->values.size() - 1;
    return true;
  }

  FileTime keyLineTime(std::string_view rest) const {
    rest = skipBlanks(rest, kFileBlanks);
    if (rest.empty() || rest[0] < '0' || rest[0] > '9') return m_now;
    std::uint64_t seconds = 0;
    for (std::size_t i = 0; i < rest.size() && rest[i] >= '0' && rest[i] <= '9'; ++i) {
      seconds = seconds * 10 + static_cast<unsigned>(rest[i] - '0');
      if (seconds > 0xFFFFFFFFu) return m_now;
    }
    return fileTimeFromUnixSeconds(seconds);
  }

  // Creates the key and its parents; null for a path that starts with a backslash.
  RegistryKey* createKey(std::u16string_view path) {
    if (!path.empty() && path[0] == u'\\') return nullptr;
    RegistryKey* key = m_hive->root.get();
    std::size_t start = 0;
    while (start < path.size()) {
      std::size_t end = path.find(u'\\', start);
      if (end == std::u16string_view::npos) end = path.size();
      if (end > start) {
        const std::u16string_view name = path.substr(start, end - start);
        std::shared_ptr<RegistryKey> subkey = key->findSubkey(name);
        if (!subkey) subkey = key->addSubkey(std::u16string(name), m_now);
        key = subkey.get();
      }
      start = end + 1;
    }
    return key;
  }

  bool readKeyOption(std::string_view text) {
    if (text.starts_with("#time=")) {
      FileTime time = 0;
      for (std::size_t i = 6; i < text.size() && isHexDigit(text[i]); ++i) {
        time = (time << 4) | hexValue(text[i]);
      }
      m_key->modified = time;
    } else if (text.starts_with("#class=")) {
      const std::string_view quoted = text.substr(7);
      if (quoted.empty() || quoted[0] != '"') return false;
      const std::optional<UnescapedText> keyClass = unescapeRegistryText(quoted.substr(1), '"');
      if (!keyClass) return false;
      m_key->keyClass = keyClass->text;
    } else if (text.starts_with("#link")) {
      m_key->isLink = true;
    } else {
      return false;
    }
    m_pendingBlanks = 0;
    return true;
  }

  // False when not even the name can be read: then the line is kept as it is.
  bool readValueLine(std::string_view line, std::string_view text) {
    std::u16string name;
    std::size_t pos = 1;
    if (text[0] == '"') {
      const std::optional<UnescapedText> quoted = unescapeRegistryText(text.substr(1), '"');
      if (!quoted) return false;
      name = quoted->text;
      pos += quoted->consumed;
    }
    std::string_view rest = skipBlanks(text.substr(pos), kFileBlanks);
    if (rest.empty() || rest[0] != '=') return false;
    rest = skipBlanks(rest.substr(1), kFileBlanks);

    m_pendingBlanks = 0;
    std::string rawText(line);
    setAsideLinesOfEarlierValue(name);
    const std::optional<ValueData> data = readData(rest, rawText);
    RegistryValue& value = data ? m_key->setValue(name, data->type, data->bytes)
                                : m_key->setValue(name, REG_NONE, std::string());
    if (!data) value.unreadText = std::move(rawText);
    m_sinkKey = m_key;
    m_sinkValue = static_cast<std::size_t>(&value - m_key->values.data());
    return true;
  }

  // A name the key already holds takes the later line's data, as in Wine. The lines kept after
  // the earlier one go to the top of the key: left after it, they would follow the later line
  // once rewritten, where hex data continued with a backslash could take them up.
  void setAsideLinesOfEarlierValue(std::u16string_view name) {
    RegistryValue* earlier = m_key->findValue(name);
    if (earlier == nullptr) return;
    std::vector<std::string>& top = m_key->optionLines;
    top.insert(top.end(), earlier->linesAfter.begin(), earlier->linesAfter.end());
    earlier->linesAfter.clear();
  }

  std::optional<ValueData> readData(std::string_view text, std::string& rawText) {
    struct Form {
      std::string_view tag;
      DWORD type;
    };
    static constexpr Form kStringForms[] = {{"\"", REG_SZ},
                                            {"str:\"", REG_SZ},
                                            {"str(2):\"", REG_EXPAND_SZ},
                                            {"str(7):\"", REG_MULTI_SZ}};
    for (const Form& form : kStringForms) {
      if (!text.starts_with(form.tag)) continue;
      const std::optional<UnescapedText> string =
          unescapeRegistryText(text.substr(form.tag.size()), '"');
      if (!string) return std::nullopt;
      return ValueData{form.type, utf16ToLittleEndian(string->text + u'\0')};
    }
    if (text.starts_with("dword:")) return ValueData{REG_DWORD, readDword(text.substr(6))};
    if (text.starts_with("hex:")) return readHex(REG_BINARY, text.substr(4), rawText);
    const std::optional<HexTypeTag> tag = readHexTypeTag(text);
    if (!tag) return std::nullopt;
    return readHex(tag->type, text.substr(tag->length), rawText);
  }

  // As strtoul reads it: leading blanks, an optional 0x, hex digits up to the first other one.
  static std::string readDword(std::string_view text) {
    text = skipBlanks(text, kFileBlanks);
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X') &&
        isHexDigit(text[2])) {
      text.remove_prefix(2);
    }
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < text.size() && isHexDigit(text[i]); ++i) {
      value = value > (UINT64_MAX >> 4) ? UINT64_MAX : (value << 4) | hexValue(text[i]);
    }
    const auto dword = static_cast<std::uint32_t>(value);
    std::string bytes(4, '\0');
    for (int i = 0; i < 4; ++i) bytes[i] = static_cast<char>((dword >> (8 * i)) & 0xFF);
    return bytes;
  }

  // Comma-separated bytes, continued on the next line after a trailing backslash.
  std::optional<ValueData> readHex(DWORD type, std::string_view text, std::string& rawText) {
    ValueData data{type, {}};
    for (;;) {
      std::size_t pos = 0;
      while (pos < text.size() && isHexDigit(text[pos])) {
        unsigned value = 0;
        while (pos < text.size() && isHexDigit(text[pos])) {
          value = value * 16 + hexValue(text[pos++]);
          if (value > 0xFF) return std::nullopt;
        }
        data.bytes += static_cast<char>(value);
        while (pos < text.size() && isFileBlank(text[pos])) ++pos;
        if (pos < text.size() && text[pos] == ',') ++pos;
        while (pos < text.size() && isFileBlank(text[pos])) ++pos;
      }
      const std::string_view rest = skipBlanks(text.substr(pos), kFileBlanks);
      if (rest.empty()) return data;
      if (rest[0] != '\\' || m_next >= m_lines.size()) return std::nullopt;
      const std::string_view next = skipBlanks(m_lines[m_next], kFileBlanks);
      // NOTE: a line that cannot continue hex data (the next key's line after a damaged value)
      // stays a line of its own: swallowed by the damaged value, it would hand the values after
      // it to this key, and a rewrite of the file would move them there for good.
      // Nor does a blank line continue it: a rewrite puts one before every key line, so the
      // damaged value would read once rewritten, and a second rewrite would differ.
      if (next.empty() || !isHexDigit(next[0])) return std::nullopt;
      rawText += '\n';
      rawText += m_lines[m_next++];
      text = next;
    }
  }

  static constexpr std::size_t kNoValue = static_cast<std::size_t>(-1);
  static constexpr std::size_t kAtEnd = static_cast<std::size_t>(-2);

  std::vector<std::string_view> m_lines;
  std::size_t m_next = 0;
  FileTime m_now;
  std::unique_ptr<RegistryHive> m_hive;
  RegistryKey* m_key = nullptr;  // the key the next values belong to
  // Where a line we do not understand goes: the preamble, a key's options, or after a value.
  RegistryKey* m_sinkKey = nullptr;
  std::size_t m_sinkValue = kNoValue;
  std::size_t m_pendingBlanks = 0;
};

}  // namespace

Result<std::unique_ptr<RegistryHive>> readRegistryFile(std::string_view bytes, FileTime now) {
  // Wine ends every file with a line end: a file that stops within a line was cut short, and
  // what it lost (a user's name, a program's settings) would silently read as missing.
  auto hive = RegistryFileReader(bytes, now).read();
  if (hive && bytes.back() != '\n') {
    return Result<std::unique_ptr<RegistryHive>>::failure(
        ERROR_BADDB, "it ends in the middle of a line: the file was cut short");
  }
  return hive;
}

}  // namespace platform
