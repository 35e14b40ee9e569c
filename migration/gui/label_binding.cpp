#include "gui/label_binding.h"

#include "gui/qt_text.h"

namespace gui {

QLabel* LabelBinding::create(forms::Label& label, QWidget* parent) {
  auto* widget = new QLabel(parent);
  // Captions are plain text: an "&" marks an access key, never markup.
  widget->setTextFormat(Qt::PlainText);
  (new LabelBinding(label, *widget))->start();
  return widget;
}

LabelBinding::LabelBinding(forms::Label& label, QLabel& widget)
    : ControlBinding(label, widget), m_widget(widget) {}

void LabelBinding::sync() { m_widget.setText(toQt(model<forms::Label>().caption())); }

}  // namespace gui
