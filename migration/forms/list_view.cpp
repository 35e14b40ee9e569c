#include "forms/list_view.h"

namespace forms {

namespace {
const std::string kEmpty;
}

const std::string& ListView::cell(std::size_t row, std::size_t column) const {
  const ListItem& item = m_rows.at(row);
  if (column == 0) return item.text;
  return column <= item.subItems.size() ? item.subItems[column - 1] : kEmpty;
}

bool ListView::insert(std::size_t position, ListItem item) {
  if (position > m_rows.size()) return false;
  notify([&](ListViewObserver& o) { o.rowsAboutToBeInserted(position, 1); });
  m_rows.insert(m_rows.begin() + static_cast<std::ptrdiff_t>(position), std::move(item));
  notify([](ListViewObserver& o) { o.rowsInserted(); });
  changed.emit();
  return true;
}

bool ListView::setCell(std::size_t row, std::size_t column, std::string text) {
  if (row >= m_rows.size() || (column == 0 && m_columns.empty())) return false;
  ListItem& item = m_rows[row];
  if (column == 0) {
    item.text = std::move(text);
  } else {
    if (item.subItems.size() < column) item.subItems.resize(column);
    item.subItems[column - 1] = std::move(text);
  }
  notify([row](ListViewObserver& o) { o.rowsChanged(row, row); });
  return true;
}

bool ListView::remove(std::size_t row) {
  if (row >= m_rows.size()) return false;
  notify([row](ListViewObserver& o) { o.rowsAboutToBeRemoved(row, 1); });
  m_rows.erase(m_rows.begin() + static_cast<std::ptrdiff_t>(row));
  notify([](ListViewObserver& o) { o.rowsRemoved(); });
  changed.emit();
  return true;
}

void ListView::clear() {
  notify([](ListViewObserver& o) { o.aboutToReset(); });
  m_rows.clear();
  notify([](ListViewObserver& o) { o.reset(); });
  changed.emit();
}

bool ListView::setSelected(std::size_t row, bool selected) {
  if (row >= m_rows.size()) return false;
  if (m_rows[row].selected == selected) return true;
  m_rows[row].selected = selected;
  notify([row](ListViewObserver& o) { o.rowsChanged(row, row); });
  return true;
}

void ListView::setAllSelected(bool selected) {
  for (ListItem& item : m_rows) item.selected = selected;
  if (!m_rows.empty()) notify([this](ListViewObserver& o) { o.rowsChanged(0, m_rows.size() - 1); });
}

bool ListView::anySelected() const {
  for (const ListItem& item : m_rows) {
    if (item.selected) return true;
  }
  return false;
}

std::vector<std::size_t> ListView::selectedRows() const {
  std::vector<std::size_t> rows;
  for (std::size_t i = 0; i < m_rows.size(); ++i) {
    if (m_rows[i].selected) rows.push_back(i);
  }
  return rows;
}

std::string ListView::stateText() const {
  return std::to_string(m_rows.size()) + " rows, " + std::to_string(selectedRows().size()) +
         " selected" + (enabled() ? "" : " disabled");
}

}  // namespace forms
