#include "gui/list_view_binding.h"

#include <QApplication>
#include <QHeaderView>

namespace gui {

QTreeView* ListViewBinding::create(forms::ListView& listView, QWidget* parent) {
  auto* widget = new QTreeView(parent);
  widget->setRootIsDecorated(false);
  widget->setItemsExpandable(false);
  widget->setUniformRowHeights(true);
  widget->setAllColumnsShowFocus(true);
  // The lists hold paths, whose ends tell them apart.
  widget->setTextElideMode(Qt::ElideMiddle);
  widget->setSelectionBehavior(QAbstractItemView::SelectRows);
  widget->setSelectionMode(QAbstractItemView::ExtendedSelection);
  widget->header()->setStretchLastSection(true);
  widget->header()->setSectionsMovable(false);
  auto* binding = new ListViewBinding(listView, *widget);
  binding->start();
  const int rows = binding->m_table->rowCount();
  if (rows > 0) binding->syncPart([&] { binding->syncSelection(0, rows - 1); });
  return widget;
}

ListViewBinding::ListViewBinding(forms::ListView& listView, QTreeView& widget)
    : ControlBinding(listView, widget),
      m_widget(widget),
      m_table(new ListViewTableModel(listView, this)) {
  m_widget.setModel(m_table);
  connect(m_table, &ListViewTableModel::selectionMayHaveChanged, this,
          [this](int first, int last) {
            syncPart([&] { syncSelection(first, last); });
          });
  connect(m_widget.selectionModel(), &QItemSelectionModel::selectionChanged, this,
          &ListViewBinding::userSelected);
}

void ListViewBinding::detachModel() { m_table->detach(); }

// NOTE: the list's `changed` comes with every inserted row, so this must stay cheap: the rows and
// their selection reach the view through the table model instead.
void ListViewBinding::sync() {
  const auto background = model<forms::ListView>().background();
  if (static_cast<int>(background) == m_shownBackground) return;
  m_shownBackground = static_cast<int>(background);
  // The program greys the list by giving it the button face colour.
  QPalette palette = m_widget.palette();
  const QPalette standard = QApplication::palette(&m_widget);
  palette.setColor(QPalette::Base, background == forms::ListView::Background::ButtonFace
                                       ? standard.color(QPalette::Button)
                                       : standard.color(QPalette::Base));
  m_widget.setPalette(palette);
}

QItemSelection ListViewBinding::runsOf(int first, int last,
                                       const std::function<bool(int)>& wanted) const {
  QItemSelection runs;
  const int lastColumn = m_table->columnCount() - 1;
  for (int row = first; row <= last; ++row) {
    if (!wanted(row)) continue;
    const int runStart = row;
    while (row < last && wanted(row + 1)) ++row;
    runs.append(QItemSelectionRange(m_table->index(runStart, 0), m_table->index(row, lastColumn)));
  }
  return runs;
}

// NOTE: the view keeps one range per selection call and compares them all on the next call, so
// it is told as little as possible: a whole list in one call, a few rows only where they differ.
void ListViewBinding::syncSelection(int first, int last) {
  const auto& listView = model<forms::ListView>();
  QItemSelectionModel* selection = m_widget.selectionModel();
  const auto inModel = [&](int row) { return listView.selected(static_cast<std::size_t>(row)); };
  if (first == 0 && last == m_table->rowCount() - 1) {
    selection->select(runsOf(first, last, inModel), QItemSelectionModel::ClearAndSelect);
    return;
  }
  const bool anyShown = selection->hasSelection();
  const auto inView = [&](int row) { return anyShown && selection->isRowSelected(row, {}); };
  const QItemSelection toClear =
      runsOf(first, last, [&](int row) { return inView(row) && !inModel(row); });
  const QItemSelection toSelect =
      runsOf(first, last, [&](int row) { return inModel(row) && !inView(row); });
  if (!toClear.isEmpty()) selection->select(toClear, QItemSelectionModel::Deselect);
  if (!toSelect.isEmpty()) selection->select(toSelect, QItemSelectionModel::Select);
}

void ListViewBinding::userSelected(const QItemSelection& selected,
                                   const QItemSelection& deselected) {
  if (!acceptsUserAction()) return;
  auto& listView = model<forms::ListView>();
  const auto apply = [&](const QItemSelection& ranges, bool state) {
    for (const QItemSelectionRange& range : ranges) {
      for (int row = range.top(); row <= range.bottom(); ++row) {
        if (control() == nullptr) return;
        listView.setSelected(static_cast<std::size_t>(row), state);
      }
    }
  };
  apply(deselected, false);
  apply(selected, true);
}

}  // namespace gui
