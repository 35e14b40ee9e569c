// File name patterns joined by ";" ("*.doc;*.dot"), each matched against a whole file name as
// platform::matchesWildcard does: without regard to case, "*" any run of characters, "?" one.
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
  std::vector<std::string> m_patterns;
};

}  // namespace forms
