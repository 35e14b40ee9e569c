// The custom script builder: registry keys and file search at the top, the found files, the
// pending script entries and the commands below.
#pragma once

#include "gui/form_view.h"
#include "script/frm_reg_enum.h"

namespace gui {

class FrmRegEnumView final : public FormView {
  Q_OBJECT

 public:
  explicit FrmRegEnumView(migration::frmRegEnum& form);
};

}  // namespace gui
