// The escapes of Wine's registry files. Names and string data are UTF-16 in memory and ASCII in
// the file: backslash escapes for the backslash, the quoting characters, control characters
// (C escapes or octal) and every character above 0x7F (\x and its hex code unit).
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// `quoted` lists the characters that need a backslash besides the backslash itself: "\"" in
// value names, data and classes, "[]" in key names.
std::string escapeRegistryText(std::u16string_view text, std::string_view quoted);

struct UnescapedText {
  std::u16string text;
  std::size_t consumed = 0;  // bytes read, the closing character included
};

// Reads escaped text up to the first unescaped `endChar`; nothing when it is missing. Raw UTF-8
// is accepted; a byte that is no part of valid UTF-8 stands for the code unit of its value.
std::optional<UnescapedText> unescapeRegistryText(std::string_view source, char endChar);

}  // namespace platform
