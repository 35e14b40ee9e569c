#include "gui/timer_binding.h"

namespace gui {

QTimer* TimerBinding::create(forms::Timer& timer, QObject* parent) {
  auto* qtimer = new QTimer(parent);
  (new TimerBinding(timer, *qtimer))->start();
  return qtimer;
}

TimerBinding::TimerBinding(forms::Timer& timer, QTimer& qtimer)
    : ControlBinding(timer, qtimer), m_timer(qtimer) {
  connect(&m_timer, &QTimer::timeout, this, &TimerBinding::tick);
}

void TimerBinding::sync() {
  const auto& timer = model<forms::Timer>();
  const bool running = timer.enabled() && timer.interval() > 0;
  if (!running) {
    m_timer.stop();
    return;
  }
  if (m_timer.interval() != static_cast<int>(timer.interval())) {
    m_timer.setInterval(static_cast<int>(timer.interval()));
  }
  if (!m_timer.isActive()) m_timer.start();
}

void TimerBinding::tick() {
  if (control() == nullptr) return;
  model<forms::Timer>().tick();
}

}  // namespace gui
