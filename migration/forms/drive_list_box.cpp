#include "forms/drive_list_box.h"

#include <cctype>

namespace forms {

namespace {

std::string entryText(const platform::DriveInfo& drive) {
  std::string text{static_cast<char>(std::tolower(static_cast<unsigned char>(drive.letter))), ':'};
  const std::string& detail =
      drive.type == platform::DriveType::Remote ? drive.remotePath : drive.label;
  if (!detail.empty()) text += " [" + detail + "]";
  return text;
}

}  // namespace

DriveListBox::DriveListBox(std::string name, platform::FileSystem& files)
    : Control(std::move(name)), m_files(files) {
  refresh();
  const std::string current = m_files.currentDirectory();
  if (!setDrive(current) && !m_items.empty()) m_listIndex = 0;
}

void DriveListBox::refresh() {
  const char chosen = m_listIndex >= 0 ? m_items[m_listIndex].letter : '\0';
  m_items.clear();
  m_listIndex = -1;
  for (const platform::DriveInfo& drive : m_files.drives()) {
    if (drive.letter == chosen) m_listIndex = static_cast<int>(m_items.size());
    m_items.push_back({drive.letter, entryText(drive)});
  }
  changed.emit();
}

std::string DriveListBox::drive() const {
  return m_listIndex < 0 ? std::string() : m_items[m_listIndex].text;
}

bool DriveListBox::setDrive(std::string_view text) {
  if (text.empty()) return false;
  const char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
  for (std::size_t i = 0; i < m_items.size(); ++i) {
    if (m_items[i].letter != letter) continue;
    if (update(m_listIndex, static_cast<int>(i))) raise(onChange);
    return true;
  }
  return false;
}

}  // namespace forms
