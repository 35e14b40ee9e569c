// The exclude list: directories the file scan does not enter. An entry excludes every path that
// contains it anywhere, without regard to case (a plain substring test, not a prefix test):
// c:\winnt excludes C:\WINNT.OLD too, temp excludes every path with TEMP in it, and an empty entry
// excludes everything.
#pragma once

#include <string>
#include <vector>

#include "context/configuration.h"

namespace migration {

// The exclude list prepared for many tests: the entries upper-cased once.
class ExcludeMatcher {
 public:
  explicit ExcludeMatcher(const std::vector<std::string>& entries);
  bool matches(const std::string& path) const;

 private:
  std::vector<std::string> m_upperEntries;
};

// True when the path matches an entry of config.arrExcludeList.
bool IsExcluded(const Configuration& config, const std::string& path);

}  // namespace migration
