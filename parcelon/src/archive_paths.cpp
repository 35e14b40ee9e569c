#include "archive_paths.h"

#include <algorithm>

namespace parcelon {
namespace {

bool isSeparator(char c) { return c == '\\' || c == '/'; }

bool hasDrive(std::string_view path) { return path.size() >= 2 && path[1] == ':'; }

}  // namespace

std::string folderOf(std::string_view path) {
  const auto last = path.find_last_of("\\/");
  if (last == std::string_view::npos) return hasDrive(path) ? std::string(path.substr(0, 2)) : "";
  // The root keeps its separator: "C:\x" is in "C:\", "\x" in "\".
  const bool isRoot = last == 0 || (last == 2 && hasDrive(path));
  return std::string(path.substr(0, isRoot ? last + 1 : last));
}

std::string storedNameFor(std::string_view sourcePath, KeepPath keepPath) {
  std::string name(sourcePath);
  std::replace(name.begin(), name.end(), '\\', '/');
  if (hasDrive(name)) name.erase(0, 2);
  // NOTE: every leading "/" goes, not only the first: a UNC path would otherwise be stored
  // as an absolute name ("/server/share/x"), which readers refuse or strip.
  const auto firstKept = name.find_first_not_of('/');
  name.erase(0, firstKept == std::string::npos ? name.size() : firstKept);
  if (keepPath == KeepPath::No) {
    const auto last = name.find_last_of('/');
    if (last != std::string::npos) name.erase(0, last + 1);
  }
  return name;
}

bool staysInFolder(std::string_view entryName) {
  if (entryName.empty() || hasDrive(entryName) || isSeparator(entryName.front())) return false;
  std::size_t start = 0;
  while (start <= entryName.size()) {
    auto end = std::find_if(entryName.begin() + static_cast<std::ptrdiff_t>(start), entryName.end(),
                            isSeparator) -
               entryName.begin();
    if (entryName.substr(start, static_cast<std::size_t>(end) - start) == "..") return false;
    start = static_cast<std::size_t>(end) + 1;
  }
  return true;
}

}  // namespace parcelon
