// The progress window with its Cancel button.
#pragma once

#include "gui/form_view.h"
#include "scan/frm_message.h"

namespace gui {

class FrmMessageView final : public FormView {
  Q_OBJECT

 public:
  explicit FrmMessageView(migration::frmMessage& form);
};

}  // namespace gui
