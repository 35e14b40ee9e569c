#include "gui/frm_about_view.h"

#include <QBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

#include "gui/command_button_binding.h"
#include "gui/label_binding.h"

namespace gui {

FrmAboutView::FrmAboutView(migration::frmAbout& form) : FormView(form) {
  setWindowFlag(Qt::Dialog);
  auto* picture = new QLabel(this);
  picture->setPixmap(style()->standardIcon(QStyle::SP_ComputerIcon).pixmap(32, 32));
  picture->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

  QLabel* title = LabelBinding::create(form.lblTitle, this);
  QFont titleFont = title->font();
  titleFont.setPointSizeF(titleFont.pointSizeF() * 1.6);
  titleFont.setBold(true);
  title->setFont(titleFont);
  QLabel* description = LabelBinding::create(form.lblDescription, this);
  description->setWordWrap(true);
  auto* texts = new QVBoxLayout;
  texts->addWidget(title);
  texts->addWidget(LabelBinding::create(form.lblVersion, this));
  texts->addSpacing(10);
  texts->addWidget(description);
  texts->addStretch(1);

  auto* buttons = new QVBoxLayout;
  for (forms::CommandButton* button : {&form.cmdOK, &form.cmdSysInfo}) {
    QPushButton* widget = CommandButtonBinding::create(*button, this);
    widget->setMinimumWidth(110);
    buttons->addWidget(widget);
  }
  buttons->addStretch(1);

  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(16, 16, 16, 16);
  layout->addWidget(picture);
  layout->addSpacing(8);
  layout->addLayout(texts, 1);
  layout->addSpacing(8);
  layout->addLayout(buttons);
  resize(460, 180);
  start();
}

}  // namespace gui
