// What every control of a form has: a name (with an index inside a control array), the enabled
// and visible flags, a tool tip, and a signal that views follow.
#pragma once

#include <string>

#include "forms/signal.h"

namespace forms {

inline constexpr int kNoIndex = -1;

class Control {
 public:
  explicit Control(std::string name, int index = kNoIndex)
      : m_name(std::move(name)), m_index(index) {}
  virtual ~Control() = default;
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  const std::string& name() const { return m_name; }
  int index() const { return m_index; }
  // "cmdSelAll(2)" for an array element, the plain name otherwise.
  std::string qualifiedName() const {
    return m_index == kNoIndex ? m_name : m_name + "(" + std::to_string(m_index) + ")";
  }

  bool enabled() const { return m_enabled; }
  void setEnabled(bool enabled) { update(m_enabled, enabled); }
  bool visible() const { return m_visible; }
  void setVisible(bool visible) { update(m_visible, visible); }
  const std::string& toolTipText() const { return m_toolTip; }
  void setToolTipText(std::string text) { update(m_toolTip, std::move(text)); }

  // The state a user sees, as one line of text (the scenario driver compares it).
  virtual std::string stateText() const = 0;

  Signal changed;

 protected:
  template <typename T>
  bool update(T& field, T value) {
    if (field == value) return false;
    field = std::move(value);
    changed.emit();
    return true;
  }

 private:
  std::string m_name;
  int m_index;
  bool m_enabled = true;
  bool m_visible = true;
  std::string m_toolTip;
};

// Quotes a text for state lines as the scenario files write it: a quote doubled (""), a
// backslash as it is (Windows paths read naturally), and control characters by name: <CR>,
// <LF>, <TAB>, <NUL>, <xHH>.
std::string quoted(const std::string& text);

}  // namespace forms
