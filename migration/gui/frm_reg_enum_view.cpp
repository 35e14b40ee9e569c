#include "gui/frm_reg_enum_view.h"

#include <QBoxLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTreeView>

#include "gui/combo_box_binding.h"
#include "gui/command_button_binding.h"
#include "gui/drive_list_box_binding.h"
#include "gui/frame_binding.h"
#include "gui/label_binding.h"
#include "gui/list_box_binding.h"
#include "gui/list_view_binding.h"
#include "gui/text_box_binding.h"

namespace gui {

namespace {

using migration::frmRegEnum;

QGroupBox* registryFrame(frmRegEnum& form, QWidget* parent) {
  QGroupBox* frame = FrameBinding::create(form.fraRegistry, parent);
  auto* layout = new QGridLayout(frame);
  QLabel* mainKey = LabelBinding::create(form.lblMainKey, frame);
  QComboBox* roots = ComboBoxBinding::create(form.Combo1, frame);
  mainKey->setBuddy(roots);
  QLabel* subKeyLabel = LabelBinding::create(form.lblSubKey, frame);
  QLineEdit* subKey = TextBoxBinding::create(form.txtSubKey, frame);
  subKeyLabel->setBuddy(subKey);
  layout->addWidget(mainKey, 0, 0);
  layout->addWidget(roots, 1, 0);
  layout->addWidget(subKeyLabel, 2, 0);
  layout->addWidget(subKey, 3, 0);
  layout->addWidget(CommandButtonBinding::create(form.Command2, frame), 4, 0, Qt::AlignRight);
  layout->setRowStretch(5, 1);
  return frame;
}

QGroupBox* filesFrame(frmRegEnum& form, QWidget* parent) {
  QGroupBox* frame = FrameBinding::create(form.fraFiles, parent);
  auto* layout = new QGridLayout(frame);
  QLabel* maskLabel = LabelBinding::create(form.lblFileMask, frame);
  QLineEdit* mask = TextBoxBinding::create(form.txtFileMask, frame);
  maskLabel->setBuddy(mask);
  layout->addWidget(maskLabel, 0, 0, 1, 2);
  layout->addWidget(mask, 1, 0, 1, 2);
  layout->addWidget(DriveListBoxBinding::create(form.drvScan, frame), 2, 0, Qt::AlignLeft);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(CommandButtonBinding::create(form.Command3, frame));
  buttons->addWidget(CommandButtonBinding::create(form.Command4, frame));
  layout->addLayout(buttons, 3, 0, 1, 2);
  layout->setRowStretch(4, 1);
  return frame;
}

QGroupBox* detailsFrame(frmRegEnum& form, QWidget* parent) {
  QGroupBox* frame = FrameBinding::create(form.fraDetails, parent);
  auto* layout = new QVBoxLayout(frame);
  layout->addWidget(ListBoxBinding::create(form.lstDetails, frame));
  return frame;
}

}  // namespace

FrmRegEnumView::FrmRegEnumView(frmRegEnum& form) : FormView(form) {
  QLabel* intro = LabelBinding::create(form.lblIntro, this);
  intro->setWordWrap(true);
  auto* inputs = new QHBoxLayout;
  inputs->addWidget(registryFrame(form, this), 1);
  inputs->addWidget(filesFrame(form, this), 1);

  QTreeView* files = ListViewBinding::create(form.lvFiles, this);
  files->header()->resizeSection(0, 300);
  files->header()->resizeSection(1, 170);
  files->header()->resizeSection(2, 70);

  auto* buttons = new QHBoxLayout;
  for (forms::CommandButton* button : {&form.cmdScript, &form.cmdClear}) {
    QPushButton* widget = CommandButtonBinding::create(*button, this);
    widget->setMinimumWidth(100);
    buttons->addWidget(widget);
  }
  buttons->addStretch(1);
  QPushButton* close = CommandButtonBinding::create(form.cmdClose, this);
  close->setMinimumWidth(100);
  buttons->addWidget(close);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(intro);
  layout->addLayout(inputs);
  layout->addWidget(files, 3);
  layout->addWidget(detailsFrame(form, this), 2);
  layout->addLayout(buttons);
  resize(780, 640);
  start();
}

}  // namespace gui
