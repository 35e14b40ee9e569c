#include "scan/frm_new_dir.h"

#include "forms/dir_list_box.h"
#include "context/program.h"

namespace migration {

frmNewDir::frmNewDir(Program& program)
    : forms::Form(program.ui(), "frmNewDir", "Create New Directory"),
      lblDir("lblDir", "New Directory Name:"),
      txtDir("txtDir"),
      cmdOk("cmdOk", "OK"),
      cmdCancel("cmdCancel", "Cancel"),
      m_program(program) {
  for (forms::Control* control :
       std::initializer_list<forms::Control*>{&lblDir, &txtDir, &cmdOk, &cmdCancel}) {
    add(*control);
  }
  cmdOk.onClick = [this] { cmdOk_Click(); };
  cmdCancel.onClick = [this] { cmdCancel_Click(); };
}

void frmNewDir::New_Dir(const std::string& parent) {
  strParent = parent;
  show(forms::ShowMode::Modal);
}

void frmNewDir::cmdOk_Click() {
  if (txtDir.text().empty()) {
    m_program.msgBox("Please Enter a Directory Name!", forms::MsgButtons::OK,
                     forms::MsgIcon::Exclamation, "No Directory");
    return;
  }
  // An existing directory, an invalid name or a read-only medium is not reported.
  platform::ignoreFailure(
      m_program.files().createFolder(forms::joinPath(strParent, txtDir.text())), "creating the new directory");
  unload();
}

void frmNewDir::cmdCancel_Click() { unload(); }

}  // namespace migration
