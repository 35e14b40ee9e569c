// The small "Please Wait" window; its timer makes the caption's dots grow.
#pragma once

#include "frame/frm_status_message.h"
#include "gui/form_view.h"

namespace gui {

class FrmStatusMessageView final : public FormView {
  Q_OBJECT

 public:
  explicit FrmStatusMessageView(migration::frmStatusMessage& form);
};

}  // namespace gui
