#include "gui/list_view_table_model.h"

#include <algorithm>

#include "gui/qt_text.h"

namespace gui {

ListViewTableModel::ListViewTableModel(forms::ListView& listView, QObject* parent)
    : QAbstractTableModel(parent),
      m_listView(&listView),
      m_shownRows(static_cast<int>(listView.count())) {
  m_batchTimer.setSingleShot(true);
  m_batchTimer.setInterval(kBatchMilliseconds);
  connect(&m_batchTimer, &QTimer::timeout, this, &ListViewTableModel::flush);
  m_listView->addObserver(*this);
}

ListViewTableModel::~ListViewTableModel() {
  // No reset signals here: the view may already be half destroyed.
  if (m_listView != nullptr) m_listView->removeObserver(*this);
}

void ListViewTableModel::detach() {
  if (m_listView == nullptr) return;
  m_batchTimer.stop();
  beginResetModel();
  m_listView->removeObserver(*this);
  m_listView = nullptr;
  m_shownRows = 0;
  endResetModel();
}

void ListViewTableModel::flush() {
  m_batchTimer.stop();
  if (m_listView == nullptr) return;
  const int rows = static_cast<int>(m_listView->count());
  if (rows <= m_shownRows) return;
  const int first = m_shownRows;
  beginInsertRows({}, first, rows - 1);
  m_shownRows = rows;
  endInsertRows();
  Q_EMIT selectionMayHaveChanged(first, rows - 1);
}

int ListViewTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : m_shownRows;
}

int ListViewTableModel::columnCount(const QModelIndex& parent) const {
  if (parent.isValid() || m_listView == nullptr) return 0;
  return static_cast<int>(m_listView->columnHeaders().size());
}

QVariant ListViewTableModel::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole || !index.isValid() || index.row() >= m_shownRows) return {};
  return toQt(m_listView->cell(static_cast<std::size_t>(index.row()),
                               static_cast<std::size_t>(index.column())));
}

QVariant ListViewTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole || orientation != Qt::Horizontal || m_listView == nullptr) return {};
  const auto& headers = m_listView->columnHeaders();
  if (section < 0 || section >= static_cast<int>(headers.size())) return {};
  return toQt(headers[static_cast<std::size_t>(section)]);
}

void ListViewTableModel::rowsAboutToBeInserted(std::size_t first, std::size_t count) {
  m_changeFirst = static_cast<int>(first);
  m_changeCount = 0;
  if (m_changeFirst >= m_shownRows) {
    if (!m_batchTimer.isActive()) m_batchTimer.start();
    return;
  }
  // Inserted among the rows Qt knows: the waiting ones are announced first, so that Qt's rows
  // and the list's agree again before this one comes.
  flush();
  m_changeCount = static_cast<int>(count);
  beginInsertRows({}, m_changeFirst, m_changeFirst + m_changeCount - 1);
}

void ListViewTableModel::rowsInserted() {
  if (m_changeCount == 0) return;
  m_shownRows += m_changeCount;
  endInsertRows();
  Q_EMIT selectionMayHaveChanged(m_changeFirst, m_changeFirst + m_changeCount - 1);
}

void ListViewTableModel::rowsAboutToBeRemoved(std::size_t first, std::size_t count) {
  m_changeFirst = static_cast<int>(first);
  m_changeCount = 0;
  if (m_changeFirst >= m_shownRows) return;
  flush();
  m_changeCount = static_cast<int>(count);
  beginRemoveRows({}, m_changeFirst, m_changeFirst + m_changeCount - 1);
}

void ListViewTableModel::rowsRemoved() {
  if (m_changeCount == 0) return;
  m_shownRows -= m_changeCount;
  endRemoveRows();
}

void ListViewTableModel::rowsChanged(std::size_t first, std::size_t last) {
  // Rows still waiting for the batch come with their current texts and selection.
  const int lastShown = std::min(static_cast<int>(last), m_shownRows - 1);
  if (static_cast<int>(first) > lastShown) return;
  const int lastColumn = columnCount() - 1;
  Q_EMIT dataChanged(index(static_cast<int>(first), 0), index(lastShown, lastColumn),
                     {Qt::DisplayRole});
  Q_EMIT selectionMayHaveChanged(static_cast<int>(first), lastShown);
}

void ListViewTableModel::aboutToReset() {
  m_batchTimer.stop();
  beginResetModel();
}

void ListViewTableModel::reset() {
  m_shownRows = static_cast<int>(m_listView->count());
  endResetModel();
  if (m_shownRows > 0) Q_EMIT selectionMayHaveChanged(0, m_shownRows - 1);
}

}  // namespace gui
