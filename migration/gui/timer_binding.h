// Timer -> QTimer: ticks the model at its interval while it is enabled.
#pragma once

#include <QTimer>

#include "forms/timer.h"
#include "gui/control_binding.h"

namespace gui {

class TimerBinding final : public ControlBinding {
  Q_OBJECT

 public:
  static QTimer* create(forms::Timer& timer, QObject* parent);

 private:
  TimerBinding(forms::Timer& timer, QTimer& qtimer);
  void sync() override;
  void tick();
  QTimer& m_timer;
};

}  // namespace gui
