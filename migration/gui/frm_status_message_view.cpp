#include "gui/frm_status_message_view.h"

#include <QLabel>
#include <QVBoxLayout>

#include "gui/label_binding.h"
#include "gui/timer_binding.h"

namespace gui {

FrmStatusMessageView::FrmStatusMessageView(migration::frmStatusMessage& form) : FormView(form) {
  setWindowFlag(Qt::Dialog);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(24, 18, 24, 18);
  QLabel* label = LabelBinding::create(form.Label1, this);
  label->setAlignment(Qt::AlignCenter);
  layout->addWidget(label);
  TimerBinding::create(form.Timer1, this);
  setFixedSize(320, 80);
  start();
}

}  // namespace gui
