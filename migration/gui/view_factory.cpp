#include "gui/view_factory.h"

#include "gui/frm_about_view.h"
#include "gui/frm_add_type_view.h"
#include "gui/frm_browse_view.h"
#include "gui/frm_exclude_view.h"
#include "gui/frm_main_view.h"
#include "gui/frm_message_view.h"
#include "gui/frm_new_dir_view.h"
#include "gui/frm_reg_enum_view.h"
#include "gui/frm_status_message_view.h"
#include "gui/generic_form_view.h"

namespace gui {

namespace {

// The view of `form` when it is a `Model`, or null.
template <typename Model, typename View>
FormView* viewIf(forms::Form& form) {
  auto* model = dynamic_cast<Model*>(&form);
  return model == nullptr ? nullptr : new View(*model);
}

}  // namespace

FormView* createFormView(forms::Form& form) {
  using namespace migration;
  for (auto* make : {viewIf<frmMain, FrmMainView>, viewIf<frmStatusMessage, FrmStatusMessageView>,
                     viewIf<frmMessage, FrmMessageView>, viewIf<frmAbout, FrmAboutView>,
                     viewIf<frmBrowse, FrmBrowseView>, viewIf<frmNewDir, FrmNewDirView>,
                     viewIf<frmAddType, FrmAddTypeView>, viewIf<frmExclude, FrmExcludeView>,
                     viewIf<frmRegEnum, FrmRegEnumView>}) {
    if (FormView* view = make(form)) return view;
  }
  return new GenericFormView(form);
}

}  // namespace gui
