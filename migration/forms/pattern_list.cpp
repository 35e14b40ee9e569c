#include "forms/pattern_list.h"

#include "platform/text_encoding.h"

namespace forms {

PatternList::PatternList(std::string_view patterns) {
  std::size_t start = 0;
  while (start <= patterns.size()) {
    const std::size_t end = std::min(patterns.find(';', start), patterns.size());
    m_patterns.push_back(platform::ansiToUpper(patterns.substr(start, end - start)));
    start = end + 1;
  }
}

bool PatternList::matches(std::string_view fileName) const {
  const std::string upperName = platform::ansiToUpper(fileName);
  for (const std::string& pattern : m_patterns) {
    if (wildcardMatch(pattern, upperName)) return true;
  }
  return false;
}

bool wildcardMatch(std::string_view pattern, std::string_view name) {
  // Greedy match that backtracks to the last star: linear for the usual patterns.
  std::size_t p = 0, n = 0;
  std::size_t starP = std::string_view::npos, starN = 0;
  while (n < name.size()) {
    if (p < pattern.size() && (pattern[p] == '?' || pattern[p] == name[n])) {
      ++p;
      ++n;
    } else if (p < pattern.size() && pattern[p] == '*') {
      starP = p++;
      starN = n;
    } else if (starP != std::string_view::npos) {
      p = starP + 1;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

}  // namespace forms
