// Reading the words of a scenario line: bare words, and quoted texts as the control states print
// them: "" for a quote, a backslash as it is, <CR> <LF> <TAB> <NUL> <xHH> for control characters.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace scenario {

struct Word {
  std::string text;
  bool quoted = false;
};

// Splits a line into words; a quoted text is one word. nullopt (with `error` set) when a quote
// is not closed.
std::optional<std::vector<Word>> splitWords(std::string_view line, std::string& error);

// The line without leading and trailing blanks.
std::string trimmedLine(std::string_view text);

// Splits "left = right" at the first " = " outside quotes; false when there is none.
bool splitAtEquals(std::string_view line, std::string& left, std::string& right);

}  // namespace scenario
