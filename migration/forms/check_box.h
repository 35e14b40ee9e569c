#pragma once

#include <functional>

#include "forms/control.h"

namespace forms {

enum class CheckState { Unchecked = 0, Checked = 1, Grayed = 2 };

class CheckBox final : public Control {
 public:
  CheckBox(std::string name, std::string caption, CheckState value = CheckState::Unchecked)
      : Control(std::move(name)), m_caption(std::move(caption)), m_value(value) {}

  const std::string& caption() const { return m_caption; }
  CheckState value() const { return m_value; }
  bool checked() const { return m_value == CheckState::Checked; }
  // Raises Click when the value changes, whoever sets it.
  void setValue(CheckState value) {
    if (update(m_value, value)) raise(onClick);
  }
  // A user's click: unchecked and grey become checked, checked becomes unchecked.
  void click() {
    setValue(m_value == CheckState::Checked ? CheckState::Unchecked : CheckState::Checked);
  }
  std::string stateText() const override {
    static const char* const kNames[] = {"unchecked", "checked", "grayed"};
    return kNames[static_cast<int>(m_value)];
  }

  std::function<void()> onClick;

 private:
  std::string m_caption;
  CheckState m_value;
};

}  // namespace forms
