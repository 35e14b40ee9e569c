// ListView -> QTreeView in report style over a ListViewTableModel. The selection is kept in both
// places and copied one row range at a time: a click goes to the model row by row, a model change
// comes back for the rows it names.
#pragma once

#include <QItemSelection>
#include <QTreeView>
#include <functional>

#include "forms/list_view.h"
#include "gui/control_binding.h"
#include "gui/list_view_table_model.h"

namespace gui {

class ListViewBinding final : public ControlBinding {
  Q_OBJECT

 public:
  static QTreeView* create(forms::ListView& listView, QWidget* parent);

 private:
  ListViewBinding(forms::ListView& listView, QTreeView& widget);
  void sync() override;
  void detachModel() override;
  void syncSelection(int first, int last);
  // The runs of consecutive rows first..last for which `wanted` holds, as selection ranges.
  QItemSelection runsOf(int first, int last, const std::function<bool(int)>& wanted) const;
  void userSelected(const QItemSelection& selected, const QItemSelection& deselected);
  QTreeView& m_widget;
  ListViewTableModel* m_table;
  // The background shown, so that the many `changed` of a growing list cost nothing here.
  int m_shownBackground = -1;
};

}  // namespace gui
