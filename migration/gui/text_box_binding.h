// TextBox -> QLineEdit and RichTextBox -> QTextEdit (plain text: the program keeps only text).
#pragma once

#include <QLineEdit>
#include <QTextEdit>

#include "forms/text_box.h"
#include "gui/control_binding.h"

namespace gui {

class TextBoxBinding final : public ControlBinding {
  Q_OBJECT

 public:
  static QLineEdit* create(forms::TextBox& textBox, QWidget* parent);

 private:
  TextBoxBinding(forms::TextBox& textBox, QLineEdit& widget);
  void sync() override;
  void userEdited(const QString& text);
  QLineEdit& m_widget;
};

class RichTextBoxBinding final : public ControlBinding {
  Q_OBJECT

 public:
  static QTextEdit* create(forms::RichTextBox& textBox, QWidget* parent);

 private:
  RichTextBoxBinding(forms::RichTextBox& textBox, QTextEdit& widget);
  void sync() override;
  void userEdited();
  QTextEdit& m_widget;
};

}  // namespace gui
