// Conversions between the program's ANSI text (Windows-1252) and the host's encodings. Inside
// the program text is ANSI; these run only at the edges (host file names, registry files).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

// Every byte has a code point: the five bytes Windows-1252 leaves undefined (0x81, 0x8D, 0x8F,
// 0x90, 0x9D) map to the C1 controls of the same number, as Windows' own table does, so that
// ANSI -> Unicode -> ANSI gives back the same bytes.
std::u16string ansiToUtf16(std::string_view ansi);
// A character Windows-1252 cannot hold becomes '?' (a surrogate pair counts as one character).
std::string utf16ToAnsi(std::u16string_view utf16);

std::string ansiToUtf8(std::string_view ansi);
// Invalid UTF-8 and characters Windows-1252 cannot hold become '?'.
std::string utf8ToAnsi(std::string_view utf8);

// The UTF-8 sequence at the start of `text` (which must not be empty). A sequence cut short or
// broken by a byte that does not continue it is invalid with length 1; a complete one that
// encodes an overlong form, a surrogate or a value past U+10FFFF is invalid with its full length.
struct Utf8Sequence {
  char32_t codePoint = 0;
  std::size_t length = 1;
  bool valid = false;
};
Utf8Sequence decodeUtf8(std::string_view text);

// UTF-16 as little-endian bytes, the form registry data keeps strings in; an odd last byte is
// no code unit and is dropped.
std::u16string utf16FromLittleEndian(std::string_view bytes);
std::string utf16ToLittleEndian(std::u16string_view text);

// Windows-1252 letters without regard to case (ASCII and the accented letters of the code page).
char ansiToUpper(char c);
std::string ansiToUpper(std::string_view text);
bool ansiEqualNoCase(std::string_view a, std::string_view b);
// Orders as Windows sorts names without regard to case: by the upper-cased UTF-16 code units.
bool ansiLessNoCase(std::string_view a, std::string_view b);

}  // namespace platform
