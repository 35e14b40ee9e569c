#include "gui/option_button_binding.h"

#include "gui/qt_text.h"

namespace gui {

namespace {

class ModelRadioButton final : public QRadioButton {
 public:
  using QRadioButton::QRadioButton;

 protected:
  void nextCheckState() override {}
};

}  // namespace

QRadioButton* OptionButtonBinding::create(forms::OptionButton& option, QWidget* parent) {
  auto* widget = new ModelRadioButton(parent);
  widget->setAutoExclusive(false);
  (new OptionButtonBinding(option, *widget))->start();
  return widget;
}

OptionButtonBinding::OptionButtonBinding(forms::OptionButton& option, QRadioButton& widget)
    : ControlBinding(option, widget), m_widget(widget) {
  connect(&m_widget, &QRadioButton::clicked, this, &OptionButtonBinding::userClicked);
}

void OptionButtonBinding::sync() {
  const auto& option = model<forms::OptionButton>();
  m_widget.setText(toQt(option.caption()));
  m_widget.setChecked(option.value());
}

void OptionButtonBinding::userClicked() {
  if (!acceptsUserAction()) return;
  model<forms::OptionButton>().click();
}

}  // namespace gui
