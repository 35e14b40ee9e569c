#include "gui/frm_new_dir_view.h"

#include <QBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "gui/command_button_binding.h"
#include "gui/label_binding.h"
#include "gui/text_box_binding.h"

namespace gui {

FrmNewDirView::FrmNewDirView(migration::frmNewDir& form) : FormView(form) {
  setWindowFlag(Qt::Dialog);
  QLabel* label = LabelBinding::create(form.lblDir, this);
  QLineEdit* name = TextBoxBinding::create(form.txtDir, this);
  label->setBuddy(name);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  for (forms::CommandButton* button : {&form.cmdOk, &form.cmdCancel}) {
    QPushButton* widget = CommandButtonBinding::create(*button, this);
    widget->setMinimumWidth(90);
    buttons->addWidget(widget);
  }
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(label);
  layout->addWidget(name);
  layout->addSpacing(6);
  layout->addLayout(buttons);
  resize(360, sizeHint().height());
  start();
}

}  // namespace gui
