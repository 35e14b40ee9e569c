// Conversions between the program's ANSI text (Windows-1252) and the host's encodings. Inside
// the program text is ANSI; these run only at the edges (host file names, registry files).
#pragma once

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

// Windows-1252 letters without regard to case (ASCII and the accented letters of the code page).
char ansiToUpper(char c);
std::string ansiToUpper(std::string_view text);
bool ansiEqualNoCase(std::string_view a, std::string_view b);
// Orders as Windows sorts names without regard to case: by the upper-cased UTF-16 code units.
bool ansiLessNoCase(std::string_view a, std::string_view b);

}  // namespace platform
