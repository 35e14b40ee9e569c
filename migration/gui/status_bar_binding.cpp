#include "gui/status_bar_binding.h"

#include "gui/qt_text.h"

namespace gui {

QStatusBar* StatusBarBinding::create(forms::StatusBar& statusBar, QWidget* parent) {
  auto* widget = new QStatusBar(parent);
  (new StatusBarBinding(statusBar, *widget))->start();
  return widget;
}

StatusBarBinding::StatusBarBinding(forms::StatusBar& statusBar, QStatusBar& widget)
    : ControlBinding(statusBar, widget), m_widget(widget) {
  for (std::size_t panel = 0; panel < statusBar.panelCount(); ++panel) {
    auto* label = new QLabel(&m_widget);
    label->setTextFormat(Qt::PlainText);
    label->setFrameShape(QFrame::Panel);
    label->setFrameShadow(QFrame::Sunken);
    label->setObjectName(toQt(statusBar.panelKey(static_cast<int>(panel) + 1)));
    if (panel == 0) {
      m_widget.addWidget(label, 1);
    } else {
      label->setMinimumWidth(140);
      m_widget.addPermanentWidget(label);
    }
    m_panels.push_back(label);
  }
}

void StatusBarBinding::sync() {
  const auto& statusBar = model<forms::StatusBar>();
  for (std::size_t panel = 0; panel < m_panels.size(); ++panel) {
    m_panels[panel]->setText(toQt(statusBar.panelText(static_cast<int>(panel) + 1)));
  }
}

}  // namespace gui
