#pragma once

#include <cstdint>
#include <functional>

#include "forms/control.h"

namespace forms {

// Raises its Timer event every `interval` milliseconds while enabled; the Ui drives the ticks.
class Timer final : public Control {
 public:
  Timer(std::string name, std::uint32_t interval) : Control(std::move(name)), m_interval(interval) {}

  std::uint32_t interval() const { return m_interval; }
  void tick() {
    if (enabled()) raise(onTimer);
  }
  std::string stateText() const override {
    return std::to_string(m_interval) + " ms" + (enabled() ? "" : " disabled");
  }

  std::function<void()> onTimer;

 private:
  std::uint32_t m_interval;
};

}  // namespace forms
