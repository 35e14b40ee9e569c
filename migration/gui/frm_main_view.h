// The main window: the menus, the three tab pages and the status bar with its two panels.
#pragma once

#include "frame/frm_main.h"
#include "gui/form_view.h"

namespace gui {

class FrmMainView final : public FormView {
  Q_OBJECT

 public:
  explicit FrmMainView(migration::frmMain& form);
};

}  // namespace gui
