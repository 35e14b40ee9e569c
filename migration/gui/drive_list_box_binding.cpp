#include "gui/drive_list_box_binding.h"

#include "gui/combo_box_binding.h"
#include "gui/qt_text.h"

namespace gui {

QComboBox* DriveListBoxBinding::create(forms::DriveListBox& driveList, QWidget* parent) {
  auto* widget = new QComboBox(parent);
  widget->setEditable(false);
  widget->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  widget->setMinimumWidth(140);
  (new DriveListBoxBinding(driveList, *widget))->start();
  return widget;
}

DriveListBoxBinding::DriveListBoxBinding(forms::DriveListBox& driveList, QComboBox& widget)
    : ControlBinding(driveList, widget), m_widget(widget) {
  connect(&m_widget, &QComboBox::activated, this, &DriveListBoxBinding::userChose);
}

void DriveListBoxBinding::sync() {
  const auto& driveList = model<forms::DriveListBox>();
  QStringList texts;
  for (std::size_t i = 0; i < driveList.count(); ++i) texts << toQt(driveList.item(i));
  setComboItems(m_widget, texts);
  m_widget.setCurrentIndex(driveList.listIndex());
}

void DriveListBoxBinding::userChose(int index) {
  if (!acceptsUserAction() || index < 0) return;
  auto& driveList = model<forms::DriveListBox>();
  if (static_cast<std::size_t>(index) < driveList.count()) {
    // The model's answer is its state: a refused drive leaves it where it was.
    (void)driveList.setDrive(driveList.item(static_cast<std::size_t>(index)));
  }
  resync();
}

}  // namespace gui
