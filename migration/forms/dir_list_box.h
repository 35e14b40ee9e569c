// A directory list: its current path and the sub-directories of that path, by name without
// regard to case. Hidden and system directories are not listed.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "forms/control.h"
#include "platform/file_system.h"

namespace forms {

class DirListBox final : public Control {
 public:
  DirListBox(std::string name, platform::FileSystem& files);

  // A full path without a trailing backslash, but a drive root keeps it ("C:\").
  const std::string& path() const { return m_path; }
  // Opens a directory; a bare drive ("d:") opens its root. On failure nothing changes. Raises
  // Change when the path changed.
  platform::Status setPath(const std::string& path);
  // Reads the current directory's sub-directories again.
  void refresh();
  std::size_t listCount() const { return m_subdirectories.size(); }
  // The full path of the index-th sub-directory.
  const std::string& list(std::size_t index) const { return m_subdirectories.at(index); }

  std::string stateText() const override { return quoted(m_path); }

  std::function<void()> onChange;

 private:
  platform::FileSystem& m_files;
  std::string m_path;
  std::vector<std::string> m_subdirectories;
};

// Joins a directory and a name with one backslash; none is added after a drive root.
std::string joinPath(const std::string& directory, const std::string& name);

}  // namespace forms
