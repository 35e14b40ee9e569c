#pragma once

#include <string>
#include <vector>

#include "forms/control.h"

namespace forms {

class StatusBar final : public Control {
 public:
  struct Panel {
    std::string key;
    std::string text;
  };

  StatusBar(std::string name, std::vector<Panel> panels)
      : Control(std::move(name)), m_panels(std::move(panels)) {}

  std::size_t panelCount() const { return m_panels.size(); }
  // Panels count from 1, as the program numbers them; other numbers are ignored.
  const std::string& panelText(int panel) const { return m_panels.at(panel - 1).text; }
  const std::string& panelKey(int panel) const { return m_panels.at(panel - 1).key; }
  bool setPanelText(int panel, std::string text) {
    if (panel < 1 || panel > static_cast<int>(m_panels.size())) return false;
    update(m_panels[panel - 1].text, std::move(text));
    return true;
  }
  std::string stateText() const override {
    std::string out;
    for (const auto& panel : m_panels) out += (out.empty() ? "" : " | ") + quoted(panel.text);
    return out;
  }

 private:
  std::vector<Panel> m_panels;
};

}  // namespace forms
