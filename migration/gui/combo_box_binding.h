// ComboBox -> a QComboBox drop-down list (not editable).
#pragma once

#include <QComboBox>

#include "forms/list_box.h"
#include "gui/control_binding.h"

namespace gui {

class ComboBoxBinding final : public ControlBinding {
  Q_OBJECT

 public:
  static QComboBox* create(forms::ComboBox& comboBox, QWidget* parent);

 private:
  ComboBoxBinding(forms::ComboBox& comboBox, QComboBox& widget);
  void sync() override;
  void userChose(int index);
  QComboBox& m_widget;
};

// Gives `widget` exactly `texts` as its entries, leaving it alone when they are already there.
void setComboItems(QComboBox& widget, const QStringList& texts);

}  // namespace gui
