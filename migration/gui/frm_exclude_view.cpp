#include "gui/frm_exclude_view.h"

#include <QBoxLayout>
#include <QGroupBox>
#include <QPushButton>
#include <QTreeView>

#include "gui/command_button_binding.h"
#include "gui/dir_list_box_binding.h"
#include "gui/drive_list_box_binding.h"
#include "gui/frame_binding.h"
#include "gui/list_view_binding.h"

namespace gui {

FrmExcludeView::FrmExcludeView(migration::frmExclude& form) : FormView(form) {
  setWindowFlag(Qt::Dialog);
  QGroupBox* browse = FrameBinding::create(form.fraBrowse, this);
  auto* browseLayout = new QVBoxLayout(browse);
  browseLayout->addWidget(DriveListBoxBinding::create(form.Drive1, browse));
  browseLayout->addWidget(DirListBoxBinding::create(form.Dir1, browse), 1);
  auto* addRow = new QHBoxLayout;
  addRow->addStretch(1);
  addRow->addWidget(CommandButtonBinding::create(form.cmdAdd, browse));
  browseLayout->addLayout(addRow);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(CommandButtonBinding::create(form.cmdRemove, this));
  buttons->addStretch(1);
  for (forms::CommandButton* button : {&form.cmdSave, &form.cmdClose}) {
    QPushButton* widget = CommandButtonBinding::create(*button, this);
    widget->setMinimumWidth(90);
    buttons->addWidget(widget);
  }
  auto* excluded = new QVBoxLayout;
  excluded->addWidget(ListViewBinding::create(form.lvExclude, this), 1);
  excluded->addLayout(buttons);

  auto* layout = new QHBoxLayout(this);
  layout->addWidget(browse, 2);
  layout->addSpacing(6);
  layout->addLayout(excluded, 3);
  resize(720, 400);
  start();
}

}  // namespace gui
