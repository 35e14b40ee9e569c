#include "gui/frm_add_type_view.h"

#include <QBoxLayout>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "gui/command_button_binding.h"
#include "gui/label_binding.h"
#include "gui/text_box_binding.h"

namespace gui {

FrmAddTypeView::FrmAddTypeView(migration::frmAddType& form) : FormView(form) {
  setWindowFlag(Qt::Dialog);
  QLabel* instructions = LabelBinding::create(form.lblInstructions, this);
  instructions->setWordWrap(true);

  auto* fields = new QGridLayout;
  QLabel* extensionLabel = LabelBinding::create(form.lblExt, this);
  QLineEdit* extension = TextBoxBinding::create(form.txtExt, this);
  extensionLabel->setBuddy(extension);
  extension->setMaximumWidth(120);
  QLabel* descriptionLabel = LabelBinding::create(form.lblDesc, this);
  QLineEdit* description = TextBoxBinding::create(form.txtDesc, this);
  descriptionLabel->setBuddy(description);
  fields->addWidget(extensionLabel, 0, 0);
  fields->addWidget(extension, 0, 1, Qt::AlignLeft);
  fields->addWidget(descriptionLabel, 1, 0);
  fields->addWidget(description, 1, 1);
  fields->setColumnStretch(1, 1);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  for (forms::CommandButton* button : {&form.cmdAdd, &form.cmdClose}) {
    QPushButton* widget = CommandButtonBinding::create(*button, this);
    widget->setMinimumWidth(90);
    buttons->addWidget(widget);
  }

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(instructions);
  layout->addSpacing(6);
  layout->addLayout(fields);
  layout->addSpacing(6);
  layout->addLayout(buttons);
  resize(440, sizeHint().height());
  start();
}

}  // namespace gui
