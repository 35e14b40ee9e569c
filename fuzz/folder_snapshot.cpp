#include "folder_snapshot.h"

#include <fstream>
#include <functional>
#include <iterator>
#include <system_error>

namespace fuzz {

namespace fs = std::filesystem;

namespace {

std::string describeEntry(const fs::directory_entry& entry) {
  std::error_code error;
  if (entry.is_symlink(error)) return "link " + fs::read_symlink(entry.path(), error).string();
  if (entry.is_directory(error)) return "folder";
  std::ifstream file(entry.path(), std::ios::binary);
  const std::string bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  return "file " + std::to_string(bytes.size()) + " " +
         std::to_string(std::hash<std::string>{}(bytes));
}

}  // namespace

FolderSnapshot FolderSnapshot::take(const fs::path& root, const fs::path& excluded) {
  FolderSnapshot snapshot;
  std::error_code error;
  fs::recursive_directory_iterator it(root, fs::directory_options::none, error);
  for (; !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
    if (it->path() == excluded) {
      it.disable_recursion_pending();
      continue;
    }
    snapshot.m_entries[it->path().lexically_relative(root).string()] = describeEntry(*it);
  }
  if (error) snapshot.m_entries["(listing failed)"] = error.message();
  return snapshot;
}

std::string FolderSnapshot::firstDifference(const FolderSnapshot& other) const {
  auto mine = m_entries.begin();
  auto theirs = other.m_entries.begin();
  for (; mine != m_entries.end() && theirs != other.m_entries.end(); ++mine, ++theirs) {
    if (mine->first != theirs->first) return std::min(mine->first, theirs->first);
    if (mine->second != theirs->second) return mine->first;
  }
  if (mine != m_entries.end()) return mine->first;
  if (theirs != other.m_entries.end()) return theirs->first;
  return "";
}

}  // namespace fuzz
