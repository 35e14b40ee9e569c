#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "forms/control.h"

namespace forms {

// A menu or menu command; a caption of "-" is a separator.
class MenuItem final : public Control {
 public:
  MenuItem(std::string name, std::string caption)
      : Control(std::move(name)), m_caption(std::move(caption)) {}

  const std::string& caption() const { return m_caption; }
  bool isSeparator() const { return m_caption == "-"; }
  MenuItem& add(std::string name, std::string caption) {
    m_children.push_back(std::make_unique<MenuItem>(std::move(name), std::move(caption)));
    return *m_children.back();
  }
  const std::vector<std::unique_ptr<MenuItem>>& children() const { return m_children; }

  void click() {
    if (enabled() && visible() && !isSeparator()) raise(onClick);
  }
  std::string stateText() const override {
    return quoted(m_caption) + (enabled() ? "" : " disabled");
  }

  std::function<void()> onClick;

 private:
  std::string m_caption;
  std::vector<std::unique_ptr<MenuItem>> m_children;
};

}  // namespace forms
