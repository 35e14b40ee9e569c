#include "gui/frm_message_view.h"

#include <QBoxLayout>
#include <QLabel>
#include <QPushButton>

#include "gui/command_button_binding.h"
#include "gui/label_binding.h"

namespace gui {

FrmMessageView::FrmMessageView(migration::frmMessage& form) : FormView(form) {
  setWindowFlag(Qt::Dialog);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(18, 16, 18, 12);
  QLabel* message = LabelBinding::create(form.lblMessage, this);
  message->setWordWrap(true);
  message->setAlignment(Qt::AlignCenter);
  layout->addWidget(message, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  QPushButton* cancel = CommandButtonBinding::create(form.cmdCancel, this);
  cancel->setMinimumWidth(90);
  buttons->addWidget(cancel);
  buttons->addStretch(1);
  layout->addLayout(buttons);
  resize(340, 110);
  start();
}

}  // namespace gui
