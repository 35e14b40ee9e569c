#include "gui/file_list_box_binding.h"

#include "gui/qt_text.h"

namespace gui {

QListWidget* FileListBoxBinding::create(forms::FileListBox& fileList, QWidget* parent) {
  auto* widget = new QListWidget(parent);
  widget->setSelectionMode(QAbstractItemView::SingleSelection);
  widget->setUniformItemSizes(true);
  (new FileListBoxBinding(fileList, *widget))->start();
  return widget;
}

FileListBoxBinding::FileListBoxBinding(forms::FileListBox& fileList, QListWidget& widget)
    : ControlBinding(fileList, widget), m_widget(widget) {
  connect(&m_widget, &QListWidget::currentRowChanged, this, &FileListBoxBinding::userChose);
}

void FileListBoxBinding::sync() {
  const auto& fileList = model<forms::FileListBox>();
  QStringList names;
  for (std::size_t i = 0; i < fileList.count(); ++i) names << toQt(fileList.item(i));
  bool same = m_widget.count() == names.size();
  for (int i = 0; same && i < m_widget.count(); ++i) same = m_widget.item(i)->text() == names[i];
  if (!same) {
    m_widget.clear();
    m_widget.addItems(names);
  }
  m_widget.setCurrentRow(fileList.listIndex());
}

void FileListBoxBinding::userChose(int row) {
  if (!acceptsUserAction()) return;
  model<forms::FileListBox>().setListIndex(row);
  resync();
}

}  // namespace gui
