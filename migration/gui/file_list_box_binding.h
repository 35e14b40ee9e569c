// FileListBox -> QListWidget of the file names, one of them current.
#pragma once

#include <QListWidget>

#include "forms/file_list_box.h"
#include "gui/control_binding.h"

namespace gui {

class FileListBoxBinding final : public ControlBinding {
  Q_OBJECT

 public:
  static QListWidget* create(forms::FileListBox& fileList, QWidget* parent);

 private:
  FileListBoxBinding(forms::FileListBox& fileList, QListWidget& widget);
  void sync() override;
  void userChose(int row);
  QListWidget& m_widget;
};

}  // namespace gui
