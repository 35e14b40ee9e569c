#include "scan/mdl_exclude.h"

#include "platform/text_encoding.h"

namespace migration {

ExcludeMatcher::ExcludeMatcher(const std::vector<std::string>& entries) {
  m_upperEntries.reserve(entries.size());
  for (const std::string& entry : entries) m_upperEntries.push_back(platform::ansiToUpper(entry));
}

bool ExcludeMatcher::matches(const std::string& path) const {
  if (m_upperEntries.empty()) return false;
  const std::string upperPath = platform::ansiToUpper(path);
  for (const std::string& entry : m_upperEntries) {
    if (upperPath.find(entry) != std::string::npos) return true;
  }
  return false;
}

bool IsExcluded(const Configuration& config, const std::string& path) {
  return ExcludeMatcher(config.arrExcludeList).matches(path);
}

}  // namespace migration
