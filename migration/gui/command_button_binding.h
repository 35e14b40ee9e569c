// CommandButton -> QPushButton; a picture button shows its small picture instead of a caption.
#pragma once

#include <QPushButton>

#include "forms/command_button.h"
#include "gui/control_binding.h"

namespace gui {

class CommandButtonBinding final : public ControlBinding {
  Q_OBJECT

 public:
  static QPushButton* create(forms::CommandButton& button, QWidget* parent);

 private:
  CommandButtonBinding(forms::CommandButton& button, QPushButton& widget);
  void sync() override;
  void userClicked();
  QPushButton& m_widget;
};

}  // namespace gui
