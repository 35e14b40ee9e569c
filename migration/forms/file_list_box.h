// A file list: the files of one directory whose names match a pattern list, by name without
// regard to case. It lists normal, read-only and archive files, not hidden or system ones.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "forms/control.h"
#include "forms/pattern_list.h"
#include "platform/file_system.h"

namespace forms {

class FileListBox final : public Control {
 public:
  FileListBox(std::string name, platform::FileSystem& files, std::string pattern = "*.*");

  const std::string& path() const { return m_path; }
  // On failure the list keeps its path and entries.
  platform::Status setPath(const std::string& path);
  const std::string& pattern() const { return m_pattern; }
  void refresh();

  std::size_t count() const { return m_entries.size(); }
  const std::string& item(std::size_t index) const { return m_entries.at(index).name; }
  int listIndex() const { return m_listIndex; }
  bool setListIndex(int index);

  std::string stateText() const override;

  std::function<void()> onClick;

 private:
  platform::FileSystem& m_files;
  std::string m_path;
  std::string m_pattern;
  PatternList m_patterns;
  std::vector<platform::DirectoryEntry> m_entries;
  int m_listIndex = -1;
};

}  // namespace forms
