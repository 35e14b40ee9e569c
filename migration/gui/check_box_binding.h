// CheckBox -> a tri-state QCheckBox whose state only the model decides: a click goes to the
// model (which turns grey and clear into checked, checked into clear), and the box shows the
// result.
#pragma once

#include <QCheckBox>

#include "forms/check_box.h"
#include "gui/control_binding.h"

namespace gui {

class CheckBoxBinding final : public ControlBinding {
  Q_OBJECT

 public:
  static QCheckBox* create(forms::CheckBox& checkBox, QWidget* parent);

 private:
  CheckBoxBinding(forms::CheckBox& checkBox, QCheckBox& widget);
  void sync() override;
  void userClicked();
  QCheckBox& m_widget;
};

}  // namespace gui
