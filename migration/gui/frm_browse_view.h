// The directory (or master file) picker: drive list, directory list, the master files of the
// current directory, and the buttons at the right.
#pragma once

#include "gui/form_view.h"
#include "scan/frm_browse.h"

namespace gui {

class FrmBrowseView final : public FormView {
  Q_OBJECT

 public:
  explicit FrmBrowseView(migration::frmBrowse& form);
};

}  // namespace gui
