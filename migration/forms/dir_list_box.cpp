#include "forms/dir_list_box.h"

#include <algorithm>

#include "platform/text_encoding.h"

namespace forms {

std::string joinPath(const std::string& directory, const std::string& name) {
  if (!directory.empty() && directory.back() == '\\') return directory + name;
  return directory + "\\" + name;
}

DirListBox::DirListBox(std::string name, platform::FileSystem& files)
    : Control(std::move(name)), m_files(files) {
  platform::ignoreFailure(setPath(m_files.currentDirectory()), "a current directory that cannot be listed");
}

platform::Status DirListBox::setPath(const std::string& path) {
  std::string wanted = path;
  if (wanted.size() == 2 && wanted[1] == ':') wanted += '\\';
  if (!m_files.folderExists(wanted)) return platform::ERROR_PATH_NOT_FOUND;
  auto full = m_files.fullPath(wanted);
  if (!full) return full.status();
  std::string normalized = full.value();
  if (normalized.size() > 3 && normalized.back() == '\\') normalized.pop_back();
  const bool moved = normalized != m_path;
  m_path = std::move(normalized);
  refresh();
  if (moved) raise(onChange);
  return platform::ERROR_SUCCESS;
}

void DirListBox::refresh() {
  m_subdirectories.clear();
  auto entries = m_files.listFolder(m_path, "*");
  if (entries) {
    constexpr std::uint32_t kSkipped = platform::FILE_ATTRIBUTE_HIDDEN | platform::FILE_ATTRIBUTE_SYSTEM;
    std::vector<std::string> names;
    for (const platform::DirectoryEntry& entry : entries.value()) {
      if ((entry.attributes & platform::FILE_ATTRIBUTE_DIRECTORY) && !(entry.attributes & kSkipped)) {
        names.push_back(entry.name);
      }
    }
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
      return platform::ansiLessNoCase(a, b);
    });
    for (const std::string& name : names) m_subdirectories.push_back(joinPath(m_path, name));
  }
  changed.emit();
}

}  // namespace forms
