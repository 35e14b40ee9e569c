// StatusBar -> QStatusBar with one sunken label per panel; the first panel takes the spare width.
#pragma once

#include <QLabel>
#include <QStatusBar>
#include <vector>

#include "forms/status_bar.h"
#include "gui/control_binding.h"

namespace gui {

class StatusBarBinding final : public ControlBinding {
  Q_OBJECT

 public:
  static QStatusBar* create(forms::StatusBar& statusBar, QWidget* parent);

 private:
  StatusBarBinding(forms::StatusBar& statusBar, QStatusBar& widget);
  void sync() override;
  QStatusBar& m_widget;
  std::vector<QLabel*> m_panels;
};

}  // namespace gui
