#include "forms/list_box.h"

namespace forms {

ListBox::ListBox(std::string name, MultiSelect multiSelect, std::vector<std::string> items)
    : Control(std::move(name)), m_multiSelect(multiSelect) {
  for (auto& text : items) m_items.push_back({std::move(text)});
}

void ListBox::addItem(std::string text) {
  m_items.push_back({std::move(text)});
  changed.emit();
}

void ListBox::clear() {
  m_items.clear();
  m_listIndex = -1;
  changed.emit();
}

bool ListBox::setSelected(std::size_t index, bool selected) {
  if (index >= m_items.size()) return false;
  if (m_multiSelect == MultiSelect::None && selected) {
    for (auto& item : m_items) item.selected = false;
  }
  m_items[index].selected = selected;
  m_listIndex = static_cast<int>(index);
  changed.emit();
  if (onClick) onClick();
  return true;
}

void ListBox::setAllSelected(bool selected) {
  for (auto& item : m_items) item.selected = selected;
  changed.emit();
}

std::vector<std::size_t> ListBox::selectedIndexes() const {
  std::vector<std::size_t> indexes;
  for (std::size_t i = 0; i < m_items.size(); ++i) {
    if (m_items[i].selected) indexes.push_back(i);
  }
  return indexes;
}

// NOTE: built by appending only: GCC 12 at -O3 reads a literal put in front of a temporary
// string as an overlapping copy and warns (-Wrestrict), which breaks builds with -Werror.
std::string ListBox::stateText() const {
  std::string out = "selected [";
  const char* separator = "";
  for (const std::size_t index : selectedIndexes()) {
    out += separator;
    out += std::to_string(index);
    separator = ",";
  }
  out += "] of ";
  out += std::to_string(m_items.size());
  return out;
}

}  // namespace forms
