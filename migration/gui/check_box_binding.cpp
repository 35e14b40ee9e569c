#include "gui/check_box_binding.h"

#include "gui/qt_text.h"

namespace gui {

namespace {

// Leaves its state alone on a click; the binding sets it from the model.
class ModelCheckBox final : public QCheckBox {
 public:
  using QCheckBox::QCheckBox;

 protected:
  void nextCheckState() override {}
};

Qt::CheckState toQt(forms::CheckState value) {
  switch (value) {
    case forms::CheckState::Unchecked: return Qt::Unchecked;
    case forms::CheckState::Checked: return Qt::Checked;
    case forms::CheckState::Grayed: return Qt::PartiallyChecked;
  }
  return Qt::Unchecked;
}

}  // namespace

QCheckBox* CheckBoxBinding::create(forms::CheckBox& checkBox, QWidget* parent) {
  auto* widget = new ModelCheckBox(parent);
  widget->setTristate(true);
  (new CheckBoxBinding(checkBox, *widget))->start();
  return widget;
}

CheckBoxBinding::CheckBoxBinding(forms::CheckBox& checkBox, QCheckBox& widget)
    : ControlBinding(checkBox, widget), m_widget(widget) {
  connect(&m_widget, &QCheckBox::clicked, this, &CheckBoxBinding::userClicked);
}

void CheckBoxBinding::sync() {
  const auto& checkBox = model<forms::CheckBox>();
  m_widget.setText(gui::toQt(checkBox.caption()));
  m_widget.setCheckState(toQt(checkBox.value()));
}

void CheckBoxBinding::userClicked() {
  if (!acceptsUserAction()) return;
  model<forms::CheckBox>().click();
}

}  // namespace gui
