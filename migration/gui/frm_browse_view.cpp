#include "gui/frm_browse_view.h"

#include <QBoxLayout>
#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include <QTreeWidget>

#include "gui/command_button_binding.h"
#include "gui/dir_list_box_binding.h"
#include "gui/drive_list_box_binding.h"
#include "gui/file_list_box_binding.h"
#include "gui/label_binding.h"

namespace gui {

FrmBrowseView::FrmBrowseView(migration::frmBrowse& form) : FormView(form) {
  setWindowFlag(Qt::Dialog);
  auto* lists = new QVBoxLayout;
  lists->addWidget(DriveListBoxBinding::create(form.Drive1, this));
  lists->addWidget(DirListBoxBinding::create(form.Dir1, this), 3);
  lists->addWidget(LabelBinding::create(form.lblMig, this));
  QListWidget* files = FileListBoxBinding::create(form.filMig, this);
  files->setMaximumHeight(70);
  lists->addWidget(files, 1);

  auto* buttons = new QVBoxLayout;
  for (forms::CommandButton* button : {&form.cmdOK, &form.cmdCancel, &form.cmdCreate}) {
    QPushButton* widget = CommandButtonBinding::create(*button, this);
    widget->setMinimumWidth(150);
    buttons->addWidget(widget);
  }
  buttons->insertSpacing(2, 12);
  buttons->addStretch(1);

  auto* layout = new QHBoxLayout(this);
  layout->addLayout(lists, 1);
  layout->addSpacing(8);
  layout->addLayout(buttons);
  resize(460, 380);
  start();
}

}  // namespace gui
