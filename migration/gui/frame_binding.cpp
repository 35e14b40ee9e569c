#include "gui/frame_binding.h"

#include "gui/qt_text.h"

namespace gui {

QGroupBox* FrameBinding::create(forms::Frame& frame, QWidget* parent) {
  auto* widget = new QGroupBox(parent);
  (new FrameBinding(frame, *widget, Kind::GroupBox))->start();
  return widget;
}

void FrameBinding::attach(forms::Frame& frame, QWidget& container) {
  (new FrameBinding(frame, container, Kind::Container))->start();
}

FrameBinding::FrameBinding(forms::Frame& frame, QWidget& widget, Kind kind)
    : ControlBinding(frame, widget), m_widget(widget), m_kind(kind) {}

void FrameBinding::sync() {
  if (m_kind == Kind::GroupBox) {
    static_cast<QGroupBox&>(m_widget).setTitle(toQt(model<forms::Frame>().caption()));
  }
}

void FrameBinding::syncCommon() {
  if (m_kind == Kind::GroupBox) {
    ControlBinding::syncCommon();
    return;
  }
  m_widget.setEnabled(control()->enabled());
}

}  // namespace gui
