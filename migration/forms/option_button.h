#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "forms/control.h"

namespace forms {

class OptionGroup;

// One of a group of mutually exclusive options; choosing it clears the others of its group.
class OptionButton final : public Control {
 public:
  OptionButton(OptionGroup& group, std::string name, std::string caption, int index)
      : Control(std::move(name), index), m_group(group), m_caption(std::move(caption)) {}

  const std::string& caption() const { return m_caption; }
  bool value() const { return m_value; }
  // Setting true chooses this option (and raises Click); setting false only clears it.
  void setValue(bool value);
  void click() {
    if (enabled() && visible()) setValue(true);
  }
  std::string stateText() const override { return m_value ? "chosen" : "clear"; }

  std::function<void()> onClick;

 private:
  friend class OptionGroup;
  OptionGroup& m_group;
  std::string m_caption;
  bool m_value = false;
};

// A control array of option buttons sharing one frame.
class OptionGroup {
 public:
  OptionGroup(const std::string& name, const std::vector<std::string>& captions) {
    for (std::size_t i = 0; i < captions.size(); ++i) {
      m_buttons.push_back(
          std::make_unique<OptionButton>(*this, name, captions[i], static_cast<int>(i)));
    }
  }

  std::size_t count() const { return m_buttons.size(); }
  OptionButton& operator[](std::size_t index) { return *m_buttons.at(index); }
  const OptionButton& operator[](std::size_t index) const { return *m_buttons.at(index); }
  // The index of the chosen option, or -1 when none is.
  int chosenIndex() const {
    for (std::size_t i = 0; i < m_buttons.size(); ++i) {
      if (m_buttons[i]->value()) return static_cast<int>(i);
    }
    return -1;
  }

 private:
  friend class OptionButton;
  void choose(OptionButton& chosen) {
    for (auto& button : m_buttons) {
      if (button.get() != &chosen) button->update(button->m_value, false);
    }
  }
  std::vector<std::unique_ptr<OptionButton>> m_buttons;
};

inline void OptionButton::setValue(bool value) {
  if (value) m_group.choose(*this);
  if (update(m_value, value) && value) raise(onClick);
}

}  // namespace forms
