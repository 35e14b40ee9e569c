#pragma once

#include <functional>

#include "forms/control.h"

namespace forms {

class CommandButton final : public Control {
 public:
  // `picture` names the small icon a picture button shows instead of a caption.
  CommandButton(std::string name, std::string caption, int index = kNoIndex,
                std::string picture = {})
      : Control(std::move(name), index),
        m_caption(std::move(caption)),
        m_picture(std::move(picture)) {}

  const std::string& caption() const { return m_caption; }
  void setCaption(std::string caption) { update(m_caption, std::move(caption)); }
  const std::string& picture() const { return m_picture; }

  // A user's click: only an enabled, visible button reacts.
  void click() {
    if (enabled() && visible()) raise(onClick);
  }
  std::string stateText() const override {
    return quoted(m_caption) + (enabled() ? "" : " disabled") + (visible() ? "" : " hidden");
  }

  std::function<void()> onClick;

 private:
  std::string m_caption;
  std::string m_picture;
};

}  // namespace forms
