#pragma once

#include <functional>

#include "forms/control.h"

namespace forms {

class TextBox : public Control {
 public:
  explicit TextBox(std::string name, std::string text = {}, int index = kNoIndex)
      : Control(std::move(name), index), m_text(std::move(text)) {}

  const std::string& text() const { return m_text; }
  // Raises the Change event when the text differs, whoever sets it.
  void setText(std::string text) {
    if (update(m_text, std::move(text))) raise(onChange);
  }
  std::string stateText() const override { return quoted(m_text); }

  std::function<void()> onChange;

 private:
  std::string m_text;
};

// A text box that holds formatted text; the program only keeps plain text in it.
class RichTextBox final : public TextBox {
 public:
  using TextBox::TextBox;
};

}  // namespace forms
