// A report-style list view: rows with a text and sub-item texts under column headers, any number
// of them selected. Built for lists of a hundred thousand rows: views hear about each change
// through an observer instead of rebuilding.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "forms/control.h"

namespace forms {

struct ListItem {
  std::string text;                   // the first column
  std::vector<std::string> subItems;  // the other columns, in order
  bool selected = false;
};

class ListViewObserver {
 public:
  virtual ~ListViewObserver() = default;
  virtual void rowsAboutToBeInserted(std::size_t first, std::size_t count) = 0;
  virtual void rowsInserted() = 0;
  virtual void rowsAboutToBeRemoved(std::size_t first, std::size_t count) = 0;
  virtual void rowsRemoved() = 0;
  // Texts or selection of rows first..last changed.
  virtual void rowsChanged(std::size_t first, std::size_t last) = 0;
  virtual void aboutToReset() = 0;
  virtual void reset() = 0;
};

class ListView final : public Control {
 public:
  ListView(std::string name, std::vector<std::string> columnHeaders)
      : Control(std::move(name)), m_columns(std::move(columnHeaders)) {}

  const std::vector<std::string>& columnHeaders() const { return m_columns; }
  std::size_t count() const { return m_rows.size(); }
  const ListItem& row(std::size_t index) const { return m_rows.at(index); }
  // The text of a column: 0 is the row's text, 1 and up its sub-items ("" when unset).
  const std::string& cell(std::size_t row, std::size_t column) const;

  void add(ListItem item) { insert(m_rows.size(), std::move(item)); }
  // Inserts before `position` (0-based; count() appends). False when out of range.
  bool insert(std::size_t position, ListItem item);
  bool setCell(std::size_t row, std::size_t column, std::string text);
  bool remove(std::size_t row);
  void clear();

  bool selected(std::size_t row) const { return row < m_rows.size() && m_rows[row].selected; }
  bool setSelected(std::size_t row, bool selected);
  void setAllSelected(bool selected);
  bool anySelected() const;
  std::vector<std::size_t> selectedRows() const;

  // Background colour as the program sets it: the window's or the button face's.
  enum class Background { Window, ButtonFace };
  Background background() const { return m_background; }
  void setBackground(Background background) { update(m_background, background); }

  void addObserver(ListViewObserver& observer) { m_observers.push_back(&observer); }
  void removeObserver(ListViewObserver& observer) { std::erase(m_observers, &observer); }

  // "N rows, M selected".
  std::string stateText() const override;

 private:
  template <typename Notify>
  void notify(Notify&& notify) {
    for (ListViewObserver* observer : m_observers) notify(*observer);
  }

  std::vector<std::string> m_columns;
  std::deque<ListItem> m_rows;
  std::vector<ListViewObserver*> m_observers;
  Background m_background = Background::Window;
};

}  // namespace forms
