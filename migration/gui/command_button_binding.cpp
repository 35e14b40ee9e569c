#include "gui/command_button_binding.h"

#include "gui/picture_icons.h"
#include "gui/qt_text.h"

namespace gui {

QPushButton* CommandButtonBinding::create(forms::CommandButton& button, QWidget* parent) {
  auto* widget = new QPushButton(parent);
  widget->setAutoDefault(false);
  if (!button.picture().empty()) {
    widget->setIcon(pictureIcon(button.picture()));
    widget->setIconSize(QSize(16, 16));
    widget->setFixedSize(26, 24);
  }
  (new CommandButtonBinding(button, *widget))->start();
  return widget;
}

CommandButtonBinding::CommandButtonBinding(forms::CommandButton& button, QPushButton& widget)
    : ControlBinding(button, widget), m_widget(widget) {
  connect(&m_widget, &QPushButton::clicked, this, &CommandButtonBinding::userClicked);
}

void CommandButtonBinding::sync() {
  const auto& button = model<forms::CommandButton>();
  m_widget.setText(toQt(button.caption()));
  // A picture button without a tool tip still tells a screen reader what it is.
  if (!button.picture().empty()) m_widget.setAccessibleName(toQt(button.toolTipText()));
}

void CommandButtonBinding::userClicked() {
  if (!acceptsUserAction()) return;
  model<forms::CommandButton>().click();
}

}  // namespace gui
