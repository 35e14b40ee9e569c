// The exclude list editor: a directory browser at the left, the excluded directories at the
// right.
#pragma once

#include "gui/form_view.h"
#include "scan/frm_exclude.h"

namespace gui {

class FrmExcludeView final : public FormView {
  Q_OBJECT

 public:
  explicit FrmExcludeView(migration::frmExclude& form);
};

}  // namespace gui
