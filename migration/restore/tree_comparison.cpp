#include "restore/tree_comparison.h"

namespace migration {

namespace {

constexpr std::uint32_t kHiddenOrSystem =
    platform::FILE_ATTRIBUTE_HIDDEN | platform::FILE_ATTRIBUTE_SYSTEM;

std::string withBackslash(const std::string& folder) {
  return !folder.empty() && folder.back() == '\\' ? folder : folder + "\\";
}

void listLevel(platform::FileSystem& files, const std::string& folder, const std::string& relative,
               HiddenEntries hidden, std::vector<TreeFile>& out) {
  auto entries = files.listFolder(folder, "*");
  if (!entries) {
    // No size matches a level that could not be read.
    out.push_back({relative.empty() ? "." : relative, UINT64_MAX});
    return;
  }
  for (const platform::DirectoryEntry& entry : entries.value()) {
    if (hidden == HiddenEntries::LeaveOut && (entry.attributes & kHiddenOrSystem) != 0) continue;
    if ((entry.attributes & platform::FILE_ATTRIBUTE_DIRECTORY) != 0) {
      listLevel(files, folder + entry.name + "\\", relative + entry.name + "\\", hidden, out);
    } else {
      out.push_back({relative + entry.name, entry.size});
    }
  }
}

}  // namespace

std::vector<TreeFile> FilesInTree(platform::FileSystem& files, const std::string& folder,
                                  HiddenEntries hidden) {
  std::vector<TreeFile> found;
  listLevel(files, withBackslash(folder), "", hidden, found);
  return found;
}

std::vector<std::string> FilesNotCopied(platform::FileSystem& files, const std::string& source,
                                        const std::string& target, HiddenEntries hidden) {
  std::vector<std::string> notCopied;
  const std::string into = withBackslash(target);
  for (const TreeFile& file : FilesInTree(files, source, hidden)) {
    const auto copy = files.fileInfo(into + file.relativePath);
    if (!copy || (copy->attributes & platform::FILE_ATTRIBUTE_DIRECTORY) != 0 ||
        copy->size != file.size) {
      notCopied.push_back(file.relativePath);
    }
  }
  return notCopied;
}

}  // namespace migration
