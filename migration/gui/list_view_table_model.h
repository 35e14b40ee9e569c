// A Qt table model over a ListView model. It follows the list through ListViewObserver without
// ever starting over on an insertion. Rows appended at the end are announced to Qt in batches, at
// most every kBatchMilliseconds: a scan that adds a hundred thousand rows and lets events run
// after each one would otherwise have the view lay out and repaint a hundred thousand times.
// Any change above the batch is announced at once, after the batch.
// The selection lives in the ListView; the table model only tells its binding which rows'
// selection may have changed.
#pragma once

#include <QAbstractTableModel>
#include <QTimer>

#include "forms/list_view.h"

namespace gui {

class ListViewTableModel final : public QAbstractTableModel, private forms::ListViewObserver {
  Q_OBJECT

 public:
  static constexpr int kBatchMilliseconds = 100;

  explicit ListViewTableModel(forms::ListView& listView, QObject* parent = nullptr);
  ~ListViewTableModel() override;

  // Stops following the list, which is about to go away; the table shows no rows from then on.
  void detach();
  // Announces the rows appended since the last batch now.
  void flush();

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;

 Q_SIGNALS:
  // Rows first..last may have a new selection state (also after an insertion or a reset).
  void selectionMayHaveChanged(int first, int last);

 private:
  void rowsAboutToBeInserted(std::size_t first, std::size_t count) override;
  void rowsInserted() override;
  void rowsAboutToBeRemoved(std::size_t first, std::size_t count) override;
  void rowsRemoved() override;
  void rowsChanged(std::size_t first, std::size_t last) override;
  void aboutToReset() override;
  void reset() override;

  forms::ListView* m_listView;
  // The rows Qt knows of: the list's first m_shownRows rows. Later ones wait for the batch.
  int m_shownRows = 0;
  // The insertion or removal being announced, between its two notifications; count 0 when the
  // change concerns only rows still waiting for the batch.
  int m_changeFirst = 0;
  int m_changeCount = 0;
  QTimer m_batchTimer;
};

}  // namespace gui
