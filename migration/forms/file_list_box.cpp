#include "forms/file_list_box.h"

#include <algorithm>

#include "platform/text_encoding.h"

namespace forms {

namespace {

// Files only, and not the hidden or system ones.
bool listed(std::uint32_t attributes) {
  constexpr std::uint32_t kSkipped = platform::FILE_ATTRIBUTE_DIRECTORY |
                                     platform::FILE_ATTRIBUTE_HIDDEN |
                                     platform::FILE_ATTRIBUTE_SYSTEM;
  return (attributes & kSkipped) == 0;
}

}  // namespace

FileListBox::FileListBox(std::string name, platform::FileSystem& files, std::string pattern)
    : Control(std::move(name)), m_files(files), m_pattern(pattern), m_patterns(pattern) {
  platform::ignoreFailure(setPath(m_files.currentDirectory()), "a current directory that cannot be listed");
}

platform::Status FileListBox::setPath(const std::string& path) {
  if (!m_files.folderExists(path)) return platform::ERROR_PATH_NOT_FOUND;
  auto full = m_files.fullPath(path);
  if (!full) return full.status();
  m_path = full.value();
  if (m_path.size() > 3 && m_path.back() == '\\') m_path.pop_back();
  refresh();
  return platform::ERROR_SUCCESS;
}

void FileListBox::refresh() {
  m_entries.clear();
  m_listIndex = -1;
  if (!m_path.empty()) {
    auto entries = m_files.listFolder(m_path, "*");
    if (entries) {
      for (platform::DirectoryEntry& entry : entries.value()) {
        if (listed(entry.attributes) && m_patterns.matches(entry.name)) {
          m_entries.push_back(std::move(entry));
        }
      }
      std::sort(m_entries.begin(), m_entries.end(), [](const auto& a, const auto& b) {
        return platform::ansiLessNoCase(a.name, b.name);
      });
    }
  }
  changed.emit();
}

bool FileListBox::setListIndex(int index) {
  if (index < -1 || index >= static_cast<int>(m_entries.size())) return false;
  if (update(m_listIndex, index)) raise(onClick);
  return true;
}

std::string FileListBox::stateText() const {
  std::string out = quoted(m_path) + " " + quoted(m_pattern) + " [";
  for (std::size_t i = 0; i < m_entries.size(); ++i) out += (i ? ", " : "") + m_entries[i].name;
  return out + "]";
}

}  // namespace forms
