// Frame -> QGroupBox; the view puts the frame's controls inside it. A frame without a caption
// that serves as a page (of a tab strip) can follow its model as a plain container instead.
#pragma once

#include <QGroupBox>

#include "forms/frame.h"
#include "gui/control_binding.h"

namespace gui {

class FrameBinding final : public ControlBinding {
  Q_OBJECT

 public:
  static QGroupBox* create(forms::Frame& frame, QWidget* parent);
  // Binds an existing container, which follows the frame's enabled state; whether it shows is
  // its tab strip's business.
  static void attach(forms::Frame& frame, QWidget& container);

 private:
  enum class Kind { GroupBox, Container };
  FrameBinding(forms::Frame& frame, QWidget& widget, Kind kind);
  void sync() override;
  void syncCommon() override;
  QWidget& m_widget;
  Kind m_kind;
};

}  // namespace gui
