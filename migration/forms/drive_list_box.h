// The list of the machine's drives, one entry per drive: "c: [LABEL]", "f: [\\server\share]".
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "forms/control.h"
#include "platform/file_system.h"

namespace forms {

class DriveListBox final : public Control {
 public:
  DriveListBox(std::string name, platform::FileSystem& files);

  // Reads the drive list again.
  void refresh();
  std::size_t count() const { return m_items.size(); }
  const std::string& item(std::size_t index) const { return m_items.at(index).text; }
  // The chosen entry's text, for example "c: [SYSTEM]".
  std::string drive() const;
  // Chooses the drive named by the first letter of `text` ("d:\", "D", "d: [DATA]"). False, and
  // nothing changes, when the text names no drive of the list. Raises Change when it changed.
  bool setDrive(std::string_view text);
  int listIndex() const { return m_listIndex; }

  std::string stateText() const override { return quoted(drive()); }

  std::function<void()> onChange;

 private:
  struct Item {
    char letter;
    std::string text;
  };
  platform::FileSystem& m_files;
  std::vector<Item> m_items;
  int m_listIndex = -1;
};

}  // namespace forms
