#include "forms/pattern_list.h"

#include "platform/wildcard.h"

namespace forms {

PatternList::PatternList(std::string_view patterns) {
  std::size_t start = 0;
  while (start <= patterns.size()) {
    const std::size_t end = std::min(patterns.find(';', start), patterns.size());
    m_patterns.emplace_back(patterns.substr(start, end - start));
    start = end + 1;
  }
}

bool PatternList::matches(std::string_view fileName) const {
  for (const std::string& pattern : m_patterns) {
    if (platform::matchesWildcard(pattern, fileName)) return true;
  }
  return false;
}

}  // namespace forms
