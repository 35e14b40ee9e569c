#include "gui/frm_main_view.h"

#include <QBoxLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QTreeView>

#include "gui/check_box_binding.h"
#include "gui/command_button_binding.h"
#include "gui/drive_list_box_binding.h"
#include "gui/frame_binding.h"
#include "gui/label_binding.h"
#include "gui/list_box_binding.h"
#include "gui/list_view_binding.h"
#include "gui/option_button_binding.h"
#include "gui/status_bar_binding.h"
#include "gui/tab_strip_binding.h"
#include "gui/text_box_binding.h"

namespace gui {

namespace {

using migration::frmMain;

// Where lvRestore and its label live: on the restore page, but far below what the page shows.
constexpr int kOutOfSight = 10000;

QHBoxLayout* row(std::initializer_list<QWidget*> widgets, int stretchIndex = -1) {
  auto* layout = new QHBoxLayout;
  int index = 0;
  for (QWidget* widget : widgets) layout->addWidget(widget, index++ == stretchIndex ? 1 : 0);
  return layout;
}

// A list's caption with its select-all and deselect-all buttons at the right.
QHBoxLayout* listHeader(QWidget* caption, QWidget* selectAll, QWidget* deselectAll) {
  auto* layout = new QHBoxLayout;
  layout->addWidget(caption, 1, Qt::AlignBottom);
  layout->addWidget(selectAll);
  layout->addWidget(deselectAll);
  return layout;
}

QHBoxLayout* commandRow(std::initializer_list<QWidget*> buttons) {
  auto* layout = new QHBoxLayout;
  layout->addStretch(1);
  for (QWidget* button : buttons) {
    button->setMinimumWidth(96);
    layout->addWidget(button);
  }
  return layout;
}

QGroupBox* optionFrame(forms::Frame& frame, forms::OptionGroup& options, QWidget* parent) {
  QGroupBox* box = FrameBinding::create(frame, parent);
  auto* layout = new QVBoxLayout(box);
  for (std::size_t i = 0; i < options.count(); ++i) {
    layout->addWidget(OptionButtonBinding::create(options[i], box));
  }
  layout->addStretch(1);
  return box;
}

void setColumnWidths(QTreeView* view, std::initializer_list<int> widths) {
  int column = 0;
  for (const int width : widths) view->header()->resizeSection(column++, width);
}

QLabel* wrapped(QLabel* label) {
  label->setWordWrap(true);
  return label;
}

// A tab page: the frame of fraContainer that holds it.
QWidget* newPage(frmMain& form, int index) {
  auto* page = new QWidget;
  FrameBinding::attach(form.fraContainer[static_cast<std::size_t>(index)], *page);
  return page;
}

QWidget* exportPage(frmMain& form) {
  QWidget* page = newPage(form, 0);
  auto* left = new QVBoxLayout;
  left->addLayout(row({LabelBinding::create(form.lblUser, page),
                       TextBoxBinding::create(form.txtUser, page)},
                      1));
  left->addSpacing(6);
  left->addWidget(wrapped(LabelBinding::create(form.lblMigrateDir, page)));
  left->addLayout(row({TextBoxBinding::create(form.txtMigrateDir, page),
                       CommandButtonBinding::create(form.cmdBrowse[0], page)},
                      0));
  left->addSpacing(6);
  left->addLayout(row({optionFrame(form.fraMigFrom, form.optMigFrom, page),
                       optionFrame(form.fraMigTo, form.optMigTo, page)}));
  left->addStretch(1);

  auto* right = new QVBoxLayout;
  right->addLayout(listHeader(LabelBinding::create(form.lblMigration, page),
                              CommandButtonBinding::create(form.cmdSelAll[0], page),
                              CommandButtonBinding::create(form.cmdDeselAll[0], page)));
  right->addWidget(ListBoxBinding::create(form.lstMigration, page), 1);

  auto* columns = new QHBoxLayout;
  columns->addLayout(left, 1);
  columns->addSpacing(12);
  columns->addLayout(right, 1);

  auto* layout = new QVBoxLayout(page);
  layout->addLayout(columns, 1);
  layout->addLayout(commandRow({CommandButtonBinding::create(form.cmdMigrate[0], page),
                                CommandButtonBinding::create(form.cmdFileScan[0], page),
                                CommandButtonBinding::create(form.cmdCopyFiles[0], page)}));
  return page;
}

// The standard types at the left, the custom types at the right.
QHBoxLayout* fileTypeColumns(frmMain& form, QWidget* page) {
  auto* standard = new QVBoxLayout;
  standard->addLayout(listHeader(LabelBinding::create(form.lblStandardFiles, page),
                                 CommandButtonBinding::create(form.cmdSelAll[1], page),
                                 CommandButtonBinding::create(form.cmdDeselAll[1], page)));
  QListWidget* standardList = ListBoxBinding::create(form.lstStandardFiles, page);
  standardList->setMinimumHeight(150);
  standard->addWidget(standardList, 1);

  auto* custom = new QVBoxLayout;
  custom->addWidget(CheckBoxBinding::create(form.chkCustom, page));
  QTreeView* types = ListViewBinding::create(form.lvType, page);
  setColumnWidths(types, {90});
  custom->addWidget(types, 1);
  auto* customButtons = row({CommandButtonBinding::create(form.cmdAdd, page),
                             CommandButtonBinding::create(form.cmdClear, page)});
  customButtons->addStretch(1);
  custom->addLayout(customButtons);

  auto* columns = new QHBoxLayout;
  columns->addLayout(standard, 3);
  columns->addSpacing(12);
  columns->addLayout(custom, 2);
  return columns;
}

QWidget* backupPage(frmMain& form) {
  QWidget* page = newPage(form, 1);
  auto* layout = new QVBoxLayout(page);
  auto* drive = row({LabelBinding::create(form.lblScanDrive, page),
                     DriveListBoxBinding::create(form.drvScan, page)});
  drive->addStretch(1);
  layout->addLayout(drive);

  layout->addLayout(fileTypeColumns(form, page), 2);

  layout->addSpacing(4);
  layout->addLayout(listHeader(LabelBinding::create(form.lblFiles, page),
                               CommandButtonBinding::create(form.cmdSelAll[2], page),
                               CommandButtonBinding::create(form.cmdDeselAll[2], page)));
  QTreeView* files = ListViewBinding::create(form.lvFiles, page);
  setColumnWidths(files, {300, 170, 70});
  layout->addWidget(files, 3);

  layout->addLayout(row({LabelBinding::create(form.lblFileDir, page),
                         TextBoxBinding::create(form.txtFileDir, page),
                         CommandButtonBinding::create(form.cmdBrowse[1], page)},
                        1));
  auto* options = row({CheckBoxBinding::create(form.chkDefaultFile, page),
                       CheckBoxBinding::create(form.chkSaveDir, page),
                       CheckBoxBinding::create(form.chkData, page)});
  options->addStretch(1);
  layout->addLayout(options);
  layout->addLayout(commandRow({CommandButtonBinding::create(form.cmdMigrate[1], page),
                                CommandButtonBinding::create(form.cmdFileScan[1], page),
                                CommandButtonBinding::create(form.cmdCopyFiles[1], page)}));
  return page;
}

// The restore list exists, but the window never shows it: nothing fills it. It stays a child of
// the page, out of the page's sight and out of the keyboard's way.
void placeOutOfSight(frmMain& form, QWidget* page) {
  QLabel* caption = LabelBinding::create(form.lblRestore, page);
  QTreeView* list = ListViewBinding::create(form.lvRestore, page);
  QPushButton* selectAll = CommandButtonBinding::create(form.cmdSelAll[3], page);
  QPushButton* deselectAll = CommandButtonBinding::create(form.cmdDeselAll[3], page);
  caption->setGeometry(10, kOutOfSight, 600, 20);
  list->setGeometry(10, kOutOfSight + 24, 560, 160);
  selectAll->move(580, kOutOfSight + 24);
  deselectAll->move(580, kOutOfSight + 52);
  for (QWidget* widget : {static_cast<QWidget*>(list), static_cast<QWidget*>(selectAll),
                          static_cast<QWidget*>(deselectAll)}) {
    widget->setFocusPolicy(Qt::NoFocus);
  }
}

QWidget* restorePage(frmMain& form) {
  QWidget* page = newPage(form, 2);
  auto* layout = new QVBoxLayout(page);
  layout->addWidget(wrapped(LabelBinding::create(form.lblMigFile, page)));
  layout->addLayout(row({TextBoxBinding::create(form.txtMigFile, page),
                         CommandButtonBinding::create(form.cmdBrowse[2], page)},
                        0));
  layout->addSpacing(8);
  layout->addWidget(wrapped(LabelBinding::create(form.lblRestoreFiles, page)));
  layout->addLayout(row({TextBoxBinding::create(form.txtRestoreFiles, page),
                         CommandButtonBinding::create(form.cmdBrowse[3], page)},
                        0));
  layout->addSpacing(8);
  layout->addWidget(CheckBoxBinding::create(form.chkRestoreFiles, page));
  layout->addStretch(1);
  layout->addLayout(commandRow({CommandButtonBinding::create(form.cmdRestoreSettings, page),
                                CommandButtonBinding::create(form.cmdRestoreFiles, page)}));
  placeOutOfSight(form, page);
  return page;
}

}  // namespace

FrmMainView::FrmMainView(migration::frmMain& form) : FormView(form) {
  auto* layout = new QVBoxLayout(this);
  layout->setMenuBar(createMenuBar());
  layout->addWidget(
      TabStripBinding::create(form.tabRTF, {exportPage(form), backupPage(form), restorePage(form)},
                              this),
      1);
  QStatusBar* status = StatusBarBinding::create(form.sbMain, this);
  status->setSizeGripEnabled(true);
  layout->addWidget(status);
  layout->setContentsMargins(6, 0, 6, 0);
  resize(780, 600);
  start();
}

}  // namespace gui
