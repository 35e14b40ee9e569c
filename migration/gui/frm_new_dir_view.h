// The dialog that names a new directory.
#pragma once

#include "gui/form_view.h"
#include "scan/frm_new_dir.h"

namespace gui {

class FrmNewDirView final : public FormView {
  Q_OBJECT

 public:
  explicit FrmNewDirView(migration::frmNewDir& form);
};

}  // namespace gui
