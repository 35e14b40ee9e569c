// OptionButton -> QRadioButton. The model's group decides which option is chosen; the buttons
// are not exclusive among themselves in Qt, so that Qt never changes one behind the model.
#pragma once

#include <QRadioButton>

#include "forms/option_button.h"
#include "gui/control_binding.h"

namespace gui {

class OptionButtonBinding final : public ControlBinding {
  Q_OBJECT

 public:
  static QRadioButton* create(forms::OptionButton& option, QWidget* parent);

 private:
  OptionButtonBinding(forms::OptionButton& option, QRadioButton& widget);
  void sync() override;
  void userClicked();
  QRadioButton& m_widget;
};

}  // namespace gui
