#include "gui/text_box_binding.h"

#include "gui/qt_text.h"

namespace gui {

QLineEdit* TextBoxBinding::create(forms::TextBox& textBox, QWidget* parent) {
  auto* widget = new QLineEdit(parent);
  (new TextBoxBinding(textBox, *widget))->start();
  return widget;
}

TextBoxBinding::TextBoxBinding(forms::TextBox& textBox, QLineEdit& widget)
    : ControlBinding(textBox, widget), m_widget(widget) {
  // textEdited comes from the user only, never from setText.
  connect(&m_widget, &QLineEdit::textEdited, this, &TextBoxBinding::userEdited);
}

void TextBoxBinding::sync() {
  const std::string& text = model<forms::TextBox>().text();
  // Comparing first keeps the cursor where the user is typing.
  if (fromQt(m_widget.text()) != text) m_widget.setText(toQt(text));
}

void TextBoxBinding::userEdited(const QString& text) {
  if (!acceptsUserAction()) return;
  model<forms::TextBox>().setText(fromQt(text));
}

QTextEdit* RichTextBoxBinding::create(forms::RichTextBox& textBox, QWidget* parent) {
  auto* widget = new QTextEdit(parent);
  widget->setAcceptRichText(false);
  (new RichTextBoxBinding(textBox, *widget))->start();
  return widget;
}

RichTextBoxBinding::RichTextBoxBinding(forms::RichTextBox& textBox, QTextEdit& widget)
    : ControlBinding(textBox, widget), m_widget(widget) {
  connect(&m_widget, &QTextEdit::textChanged, this, &RichTextBoxBinding::userEdited);
}

void RichTextBoxBinding::sync() {
  const std::string& text = model<forms::RichTextBox>().text();
  if (fromQt(m_widget.toPlainText()) != text) m_widget.setPlainText(toQt(text));
}

void RichTextBoxBinding::userEdited() {
  // textChanged also fires for setPlainText; acceptsUserAction() is false while we sync.
  if (!acceptsUserAction()) return;
  model<forms::RichTextBox>().setText(fromQt(m_widget.toPlainText()));
}

}  // namespace gui
