#pragma once

#include <functional>
#include <string>
#include <vector>

#include "forms/control.h"

namespace forms {

enum class MultiSelect { None, Simple, Extended };

class ListBox final : public Control {
 public:
  explicit ListBox(std::string name, MultiSelect multiSelect = MultiSelect::None,
                   std::vector<std::string> items = {});

  std::size_t count() const { return m_items.size(); }
  const std::string& item(std::size_t index) const { return m_items.at(index).text; }
  void addItem(std::string text);
  void clear();

  MultiSelect multiSelect() const { return m_multiSelect; }
  bool selected(std::size_t index) const { return index < m_items.size() && m_items[index].selected; }
  // False for an index that is not an entry. In a single-selection list, selecting an entry
  // clears the others.
  bool setSelected(std::size_t index, bool selected);
  void setAllSelected(bool selected);
  std::vector<std::size_t> selectedIndexes() const;
  // The entry with the focus, or -1.
  int listIndex() const { return m_listIndex; }

  std::string stateText() const override;

  std::function<void()> onClick;

 private:
  struct Item {
    std::string text;
    bool selected = false;
  };
  MultiSelect m_multiSelect;
  std::vector<Item> m_items;
  int m_listIndex = -1;
};

// A drop-down list from which one entry is chosen.
class ComboBox final : public Control {
 public:
  explicit ComboBox(std::string name) : Control(std::move(name)) {}

  std::size_t count() const { return m_items.size(); }
  const std::string& item(std::size_t index) const { return m_items.at(index); }
  void addItem(std::string text) {
    m_items.push_back(std::move(text));
    changed.emit();
  }
  int listIndex() const { return m_listIndex; }
  bool setListIndex(int index) {
    if (index < -1 || index >= static_cast<int>(m_items.size())) return false;
    if (update(m_listIndex, index)) raise(onClick);
    return true;
  }
  // The chosen entry's text, empty when none is chosen.
  std::string text() const { return m_listIndex < 0 ? std::string() : m_items[m_listIndex]; }
  std::string stateText() const override { return quoted(text()); }

  std::function<void()> onClick;

 private:
  std::vector<std::string> m_items;
  int m_listIndex = -1;
};

}  // namespace forms
