#include "platform/text_encoding.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace platform {
namespace {

// Code points of the bytes 0x80 to 0x9F; the rest of the page equals Latin-1.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  //
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  //
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  //
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

constexpr char kUnmappable = '?';

char16_t codePointOf(char c) {
  const auto byte = static_cast<std::uint8_t>(c);
  if (byte >= 0x80 && byte <= 0x9F) return kHighControls[byte - 0x80];
  return byte;
}

// The ANSI byte of a code point, or '?' when the code page has none.
char ansiOf(char32_t codePoint) {
  if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF)) {
    return static_cast<char>(codePoint);
  }
  for (std::size_t i = 0; i < kHighControls.size(); ++i) {
    if (kHighControls[i] == codePoint) return static_cast<char>(0x80 + i);
  }
  return kUnmappable;
}

void appendUtf8(std::string& out, char32_t codePoint) {
  if (codePoint < 0x80) {
    out += static_cast<char>(codePoint);
  } else if (codePoint < 0x800) {
    out += static_cast<char>(0xC0 | (codePoint >> 6));
    out += static_cast<char>(0x80 | (codePoint & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (codePoint >> 12));
    out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (codePoint & 0x3F));
  }
}

}  // namespace

Utf8Sequence decodeUtf8(std::string_view text) {
  const auto lead = static_cast<std::uint8_t>(text[0]);
  if (lead < 0x80) return {lead, 1, true};
  std::size_t extra = 0;
  char32_t codePoint = 0;
  char32_t minimum = 0;
  if ((lead & 0xE0) == 0xC0) {
    extra = 1, codePoint = lead & 0x1F, minimum = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    extra = 2, codePoint = lead & 0x0F, minimum = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    extra = 3, codePoint = lead & 0x07, minimum = 0x10000;
  } else {
    return {};
  }
  if (extra >= text.size()) return {};
  for (std::size_t i = 1; i <= extra; ++i) {
    const auto next = static_cast<std::uint8_t>(text[i]);
    if ((next & 0xC0) != 0x80) return {};
    codePoint = (codePoint << 6) | (next & 0x3F);
  }
  const bool surrogate = codePoint >= 0xD800 && codePoint <= 0xDFFF;
  const bool valid = codePoint >= minimum && codePoint <= 0x10FFFF && !surrogate;
  return {codePoint, extra + 1, valid};
}

std::u16string utf16FromLittleEndian(std::string_view bytes) {
  std::u16string text;
  text.reserve(bytes.size() / 2);
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    text += static_cast<char16_t>(static_cast<std::uint8_t>(bytes[i]) |
                                  (static_cast<std::uint8_t>(bytes[i + 1]) << 8));
  }
  return text;
}

std::string utf16ToLittleEndian(std::u16string_view text) {
  std::string bytes;
  bytes.reserve(text.size() * 2);
  for (char16_t unit : text) {
    bytes += static_cast<char>(unit & 0xFF);
    bytes += static_cast<char>(unit >> 8);
  }
  return bytes;
}

std::u16string ansiToUtf16(std::string_view ansi) {
  std::u16string out;
  out.reserve(ansi.size());
  for (char c : ansi) out += codePointOf(c);
  return out;
}

// Each UTF-16 unit gives one character, as Windows 2000 and Wine convert: a character beyond
// U+FFFF, two units, comes out as "??".
std::string utf16ToAnsi(std::u16string_view utf16) {
  std::string out;
  out.reserve(utf16.size());
  for (const char16_t unit : utf16) out += ansiOf(unit);
  return out;
}

std::string ansiToUtf8(std::string_view ansi) {
  std::string out;
  out.reserve(ansi.size());
  for (char c : ansi) appendUtf8(out, codePointOf(c));
  return out;
}

std::string utf8ToAnsi(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  std::size_t pos = 0;
  while (pos < utf8.size()) {
    const Utf8Sequence sequence = decodeUtf8(utf8.substr(pos));
    out += sequence.valid ? ansiOf(sequence.codePoint) : kUnmappable;
    // Beyond U+FFFF a character is two UTF-16 units, and so two characters, as in utf16ToAnsi.
    if (sequence.valid && sequence.codePoint > 0xFFFF) out += kUnmappable;
    pos += sequence.length;
  }
  return out;
}

char ansiToUpper(char c) {
  const auto byte = static_cast<std::uint8_t>(c);
  if (byte >= 'a' && byte <= 'z') return static_cast<char>(byte - 0x20);
  if (byte >= 0xE0 && byte <= 0xFE && byte != 0xF7) return static_cast<char>(byte - 0x20);
  switch (byte) {
    case 0x9A:
      return static_cast<char>(0x8A);  // s caron
    case 0x9C:
      return static_cast<char>(0x8C);  // oe
    case 0x9E:
      return static_cast<char>(0x8E);  // z caron
    case 0xFF:
      return static_cast<char>(0x9F);  // y diaeresis
    default:
      return c;
  }
}

std::string ansiToUpper(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = ansiToUpper(c);
  return out;
}

bool ansiEqualNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return ansiToUpper(x) == ansiToUpper(y);
         });
}

bool ansiLessNoCase(std::string_view a, std::string_view b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return codePointOf(ansiToUpper(x)) < codePointOf(ansiToUpper(y));
  });
}

}  // namespace platform
