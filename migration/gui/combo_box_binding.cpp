#include "gui/combo_box_binding.h"

#include "gui/qt_text.h"

namespace gui {

void setComboItems(QComboBox& widget, const QStringList& texts) {
  bool same = widget.count() == texts.size();
  for (int i = 0; same && i < widget.count(); ++i) same = widget.itemText(i) == texts[i];
  if (same) return;
  widget.clear();
  widget.addItems(texts);
}

QComboBox* ComboBoxBinding::create(forms::ComboBox& comboBox, QWidget* parent) {
  auto* widget = new QComboBox(parent);
  widget->setEditable(false);
  (new ComboBoxBinding(comboBox, *widget))->start();
  return widget;
}

ComboBoxBinding::ComboBoxBinding(forms::ComboBox& comboBox, QComboBox& widget)
    : ControlBinding(comboBox, widget), m_widget(widget) {
  // activated comes from the user only.
  connect(&m_widget, &QComboBox::activated, this, &ComboBoxBinding::userChose);
}

void ComboBoxBinding::sync() {
  const auto& comboBox = model<forms::ComboBox>();
  QStringList texts;
  for (std::size_t i = 0; i < comboBox.count(); ++i) texts << toQt(comboBox.item(i));
  setComboItems(m_widget, texts);
  m_widget.setCurrentIndex(comboBox.listIndex());
}

void ComboBoxBinding::userChose(int index) {
  if (!acceptsUserAction()) return;
  model<forms::ComboBox>().setListIndex(index);
  resync();
}

}  // namespace gui
