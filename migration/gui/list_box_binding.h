// ListBox -> QListWidget with the list's selection mode.
#pragma once

#include <QListWidget>

#include "forms/list_box.h"
#include "gui/control_binding.h"

namespace gui {

class ListBoxBinding final : public ControlBinding {
  Q_OBJECT

 public:
  static QListWidget* create(forms::ListBox& listBox, QWidget* parent);

 private:
  ListBoxBinding(forms::ListBox& listBox, QListWidget& widget);
  void sync() override;
  void syncItems();
  void userSelected();
  QListWidget& m_widget;
};

}  // namespace gui
