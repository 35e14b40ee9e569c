#pragma once

#include "forms/control.h"

namespace forms {

// A captioned group of controls. The program only uses its caption and visibility.
class Frame final : public Control {
 public:
  Frame(std::string name, std::string caption, int index = kNoIndex)
      : Control(std::move(name), index), m_caption(std::move(caption)) {}

  const std::string& caption() const { return m_caption; }
  std::string stateText() const override { return quoted(m_caption); }

 private:
  std::string m_caption;
};

}  // namespace forms
