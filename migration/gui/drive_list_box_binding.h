// DriveListBox -> QComboBox of the machine's drives. Choosing a drive the model refuses puts the
// list back on the drive it had.
#pragma once

#include <QComboBox>

#include "forms/drive_list_box.h"
#include "gui/control_binding.h"

namespace gui {

class DriveListBoxBinding final : public ControlBinding {
  Q_OBJECT

 public:
  static QComboBox* create(forms::DriveListBox& driveList, QWidget* parent);

 private:
  DriveListBoxBinding(forms::DriveListBox& driveList, QComboBox& widget);
  void sync() override;
  void userChose(int index);
  QComboBox& m_widget;
};

}  // namespace gui
