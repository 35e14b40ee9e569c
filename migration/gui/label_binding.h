#pragma once

#include <QLabel>

#include "forms/label.h"
#include "gui/control_binding.h"

namespace gui {

class LabelBinding final : public ControlBinding {
  Q_OBJECT

 public:
  static QLabel* create(forms::Label& label, QWidget* parent);

 private:
  LabelBinding(forms::Label& label, QLabel& widget);
  void sync() override;
  QLabel& m_widget;
};

}  // namespace gui
