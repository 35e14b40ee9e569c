#include "registry_escapes.h"

#include <cstdint>
#include <cstdio>

#include "platform/text_encoding.h"
#include "text_scan.h"

namespace platform {
namespace {

// The C escapes of control characters; '.' where octal is written.
constexpr std::string_view kControlEscapes = ".......abtnvfr.............e....";

bool isOctalDigit(char c) { return c >= '0' && c <= '7'; }
bool isOctalDigit(char16_t c) { return c >= u'0' && c <= u'7'; }

std::string formatted(const char* format, unsigned value) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, format, value);
  return buffer;
}

void appendEscaped(std::string& out, char16_t c, char16_t next, bool hasNext,
                   std::string_view quoted) {
  if (c > 0x7F) {
    // Four digits when a hex digit follows, so that it is not read as part of the escape.
    const bool pad = hasNext && next < 0x80 && isHexDigit(static_cast<char>(next));
    out += formatted(pad ? "\\x%04x" : "\\x%x", c);
  } else if (c < 0x20) {
    if (kControlEscapes[c] != '.') {
      out += '\\';
      out += kControlEscapes[c];
    } else {
      out += formatted(hasNext && isOctalDigit(next) ? "\\%03o" : "\\%o", c);
    }
  } else {
    const char ascii = static_cast<char>(c);
    if (ascii == '\\' || quoted.find(ascii) != std::string_view::npos) out += '\\';
    out += ascii;
  }
}

// One character of raw text: a UTF-8 sequence, or a lone byte taken as its own code unit.
void appendRaw(std::u16string& out, std::string_view source, std::size_t& pos) {
  const Utf8Sequence sequence = decodeUtf8(source.substr(pos));
  if (!sequence.valid) {
    out += static_cast<char16_t>(static_cast<std::uint8_t>(source[pos]));
    ++pos;
    return;
  }
  pos += sequence.length;
  char32_t codePoint = sequence.codePoint;
  if (codePoint >= 0x10000) {
    codePoint -= 0x10000;
    out += static_cast<char16_t>(0xD800 + (codePoint >> 10));
    out += static_cast<char16_t>(0xDC00 + (codePoint & 0x3FF));
  } else {
    out += static_cast<char16_t>(codePoint);
  }
}

// Reads the escape after a backslash at `pos` (which points past the backslash).
char16_t readEscape(std::string_view source, std::size_t& pos) {
  const char c = source[pos++];
  switch (c) {
    case 'a':
      return u'\a';
    case 'b':
      return u'\b';
    case 'e':
      return 0x1B;
    case 'f':
      return u'\f';
    case 'n':
      return u'\n';
    case 'r':
      return u'\r';
    case 't':
      return u'\t';
    case 'v':
      return u'\v';
    default:
      break;
  }
  if (c == 'x') {
    if (pos >= source.size() || !isHexDigit(source[pos])) return u'x';
    unsigned value = 0;
    for (int digits = 0; digits < 4 && pos < source.size() && isHexDigit(source[pos]); ++digits) {
      value = value * 16 + hexValue(source[pos++]);
    }
    return static_cast<char16_t>(value);
  }
  if (isOctalDigit(c)) {
    unsigned value = static_cast<unsigned>(c - '0');
    for (int digits = 1; digits < 3 && pos < source.size() && isOctalDigit(source[pos]); ++digits) {
      value = value * 8 + static_cast<unsigned>(source[pos++] - '0');
    }
    return static_cast<char16_t>(value);
  }
  return static_cast<char16_t>(static_cast<std::uint8_t>(c));
}

}  // namespace

std::string escapeRegistryText(std::u16string_view text, std::string_view quoted) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const bool hasNext = i + 1 < text.size();
    appendEscaped(out, text[i], hasNext ? text[i + 1] : u'\0', hasNext, quoted);
  }
  return out;
}

std::optional<UnescapedText> unescapeRegistryText(std::string_view source, char endChar) {
  UnescapedText result;
  std::size_t pos = 0;
  while (pos < source.size() && source[pos] != endChar) {
    if (source[pos] != '\\') {
      appendRaw(result.text, source, pos);
    } else if (pos + 1 < source.size()) {
      ++pos;
      result.text += readEscape(source, pos);
    } else {
      return std::nullopt;  // a lone backslash at the end: the closing character is missing
    }
  }
  if (pos >= source.size()) return std::nullopt;
  result.consumed = pos + 1;
  return result;
}

}  // namespace platform
