// The dialog that adds a custom file type.
#pragma once

#include "gui/form_view.h"
#include "scan/frm_add_type.h"

namespace gui {

class FrmAddTypeView final : public FormView {
  Q_OBJECT

 public:
  explicit FrmAddTypeView(migration::frmAddType& form);
};

}  // namespace gui
