// The about box: the program's name and version, OK and the system information button.
#pragma once

#include "frame/frm_about.h"
#include "gui/form_view.h"

namespace gui {

class FrmAboutView final : public FormView {
  Q_OBJECT

 public:
  explicit FrmAboutView(migration::frmAbout& form);
};

}  // namespace gui
