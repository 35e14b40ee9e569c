#pragma once

#include <functional>
#include <string>
#include <vector>

#include "forms/control.h"

namespace forms {

class TabStrip final : public Control {
 public:
  TabStrip(std::string name, std::vector<std::string> captions)
      : Control(std::move(name)), m_captions(std::move(captions)) {}

  std::size_t count() const { return m_captions.size(); }
  const std::string& caption(std::size_t tab) const { return m_captions.at(tab); }
  // 0-based position of the selected tab.
  std::size_t selected() const { return m_selected; }
  // Selecting a tab, by the user or the program, raises Click.
  bool select(std::size_t tab) {
    if (tab >= m_captions.size()) return false;
    update(m_selected, tab);
    raise(onClick);
    return true;
  }
  std::string stateText() const override { return quoted(m_captions[m_selected]); }

  std::function<void()> onClick;

 private:
  std::vector<std::string> m_captions;
  std::size_t m_selected = 0;
};

}  // namespace forms
