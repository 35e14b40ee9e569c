#include "gui/list_box_binding.h"

#include <vector>

#include "gui/qt_text.h"

namespace gui {

namespace {

QAbstractItemView::SelectionMode selectionMode(forms::MultiSelect multiSelect) {
  switch (multiSelect) {
    case forms::MultiSelect::None: return QAbstractItemView::SingleSelection;
    case forms::MultiSelect::Simple: return QAbstractItemView::MultiSelection;
    case forms::MultiSelect::Extended: return QAbstractItemView::ExtendedSelection;
  }
  return QAbstractItemView::SingleSelection;
}

}  // namespace

QListWidget* ListBoxBinding::create(forms::ListBox& listBox, QWidget* parent) {
  auto* widget = new QListWidget(parent);
  widget->setSelectionMode(selectionMode(listBox.multiSelect()));
  widget->setUniformItemSizes(true);
  (new ListBoxBinding(listBox, *widget))->start();
  return widget;
}

ListBoxBinding::ListBoxBinding(forms::ListBox& listBox, QListWidget& widget)
    : ControlBinding(listBox, widget), m_widget(widget) {
  connect(&m_widget, &QListWidget::itemSelectionChanged, this, &ListBoxBinding::userSelected);
}

void ListBoxBinding::sync() {
  syncItems();
  const auto& listBox = model<forms::ListBox>();
  for (int i = 0; i < m_widget.count(); ++i) {
    QListWidgetItem* item = m_widget.item(i);
    const bool selected = listBox.selected(static_cast<std::size_t>(i));
    if (item->isSelected() != selected) item->setSelected(selected);
  }
}

void ListBoxBinding::syncItems() {
  const auto& listBox = model<forms::ListBox>();
  bool same = m_widget.count() == static_cast<int>(listBox.count());
  for (int i = 0; same && i < m_widget.count(); ++i) {
    same = m_widget.item(i)->text() == toQt(listBox.item(static_cast<std::size_t>(i)));
  }
  if (same) return;
  m_widget.clear();
  for (std::size_t i = 0; i < listBox.count(); ++i) m_widget.addItem(toQt(listBox.item(i)));
}

void ListBoxBinding::userSelected() {
  if (!acceptsUserAction()) return;
  // Read the whole selection first: each change reaches the model's handler, which may change
  // the list in turn.
  std::vector<bool> wanted;
  for (int i = 0; i < m_widget.count(); ++i) wanted.push_back(m_widget.item(i)->isSelected());
  auto& listBox = model<forms::ListBox>();
  for (std::size_t i = 0; i < wanted.size() && i < listBox.count(); ++i) {
    if (listBox.selected(i) != wanted[i]) listBox.setSelected(i, wanted[i]);
    if (control() == nullptr) return;  // a handler closed the window
  }
  resync();
}

}  // namespace gui
