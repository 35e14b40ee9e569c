// Blanks around words, as the program's text formats and the Windows command line know them: a
// space or a tab.
#pragma once

#include <string_view>

namespace platform {

inline constexpr std::string_view kBlanks = " \t";

inline bool isBlank(char c) { return c == ' ' || c == '\t'; }

// `text` without the characters of `blanks` at either end.
inline std::string_view trimmed(std::string_view text, std::string_view blanks = kBlanks) {
  const std::size_t first = text.find_first_not_of(blanks);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

}  // namespace platform
