// File name patterns joined by ";" ("*.doc;*.dot"), each matched against a whole file name
// without regard to case: "*" matches any run of characters, also an empty one, "?" exactly one.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace forms {

class PatternList {
 public:
  explicit PatternList(std::string_view patterns = "*");
  bool matches(std::string_view fileName) const;
  const std::vector<std::string>& patterns() const { return m_patterns; }

 private:
  std::vector<std::string> m_patterns;  // upper-cased
};

bool wildcardMatch(std::string_view upperPattern, std::string_view upperName);

}  // namespace forms
