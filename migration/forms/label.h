#pragma once

#include "forms/control.h"

namespace forms {

class Label final : public Control {
 public:
  Label(std::string name, std::string caption, int index = kNoIndex)
      : Control(std::move(name), index), m_caption(std::move(caption)) {}

  const std::string& caption() const { return m_caption; }
  void setCaption(std::string caption) { update(m_caption, std::move(caption)); }
  std::string stateText() const override { return quoted(m_caption); }

 private:
  std::string m_caption;
};

}  // namespace forms
