#include "scan/frm_add_type.h"

#include "context/mdl_config.h"
#include "context/program.h"

namespace migration {

namespace {

constexpr const char* kInvalidExtensionText =
    "DO NOT use wildcards or periods ('.') when specifying a file extension.\r\n"
    "just enter the three (or four) letter extension of the file type you wish\r\n"
    "to search for.\r\n"
    "\r\n"
    "(I.E. If you wanted to search for Excel Spreadsheets, you would simply enter xls\r\n"
    "as the extension, NOT .xls or *.xls)";

}  // namespace

frmAddType::frmAddType(Program& program)
    : forms::Form(program.ui(), "frmAddType", "Add A Custom File Type"),
      lblInstructions("lblInstructions",
                      "Enter the File Extension and an optional description for the type of file "
                      "you want to migrate.  DO NOT use wildcards or periods. (i.e. enter \"DOC\" "
                      "not \"*.DOC\" if you wanted to search for all Microsoft Word documents)."),
      lblExt("lblExt", "File Extension:"),
      txtExt("txtExt"),
      lblDesc("lblDesc", "Description:"),
      txtDesc("txtDesc"),
      cmdAdd("cmdAdd", "Add"),
      cmdClose("cmdClose", "Close"),
      m_program(program) {
  for (forms::Control* control : std::initializer_list<forms::Control*>{
           &lblInstructions, &lblExt, &txtExt, &lblDesc, &txtDesc, &cmdAdd, &cmdClose}) {
    add(*control);
  }
  txtExt.onChange = [this] { bChanged = true; };
  txtDesc.onChange = [this] { bChanged = true; };
  cmdAdd.onClick = [this] { cmdAdd_Click(); };
  cmdClose.onClick = [this] { cmdClose_Click(); };
}

void frmAddType::Form_Load() { bChanged = false; }

void frmAddType::Add_Types() {
  std::string& types = m_program.config.varDefaultCustomTypes;
  types = types.empty() ? txtExt.text() : types + "," + txtExt.text();
  RefreshTypeList();
}

void frmAddType::RefreshTypeList() {
  forms::ListView& lvType = m_program.mainWindow().customTypes();
  lvType.clear();
  for (std::string& type : splitCommaList(m_program.config.varDefaultCustomTypes)) {
    lvType.add({std::move(type), {}, false});
  }
}

void frmAddType::cmdAdd_Click() {
  const std::string& extension = txtExt.text();
  if (extension.empty()) {
    m_program.msgBox("You cannot have a blank file extension!", forms::MsgButtons::OK,
                     forms::MsgIcon::Exclamation, "No Extension");
    setFocus(txtExt);
    return;
  }
  if (extension.find_first_of("*.") != std::string::npos) {
    m_program.msgBox(kInvalidExtensionText, forms::MsgButtons::OK, forms::MsgIcon::Exclamation,
                     "Invalid Extension");
    setFocus(txtExt);
    return;
  }
  Add_Types();
  txtExt.setText("");
  txtDesc.setText("");
  setFocus(txtExt);
  bChanged = false;
}

bool frmAddType::QueryAddPending() {
  if (!bChanged) return true;
  const forms::MsgAnswer answer =
      m_program.msgBox("The current extension has not been added.\r\nDo you want to add it now?",
                       forms::MsgButtons::YesNoCancel, forms::MsgIcon::None, "Extension Not Added");
  if (answer == forms::MsgAnswer::Cancel) return false;
  // Yes adds the text as typed, without the checks of the Add button.
  if (answer == forms::MsgAnswer::Yes && !txtExt.text().empty()) Add_Types();
  return true;
}

void frmAddType::cmdClose_Click() {
  if (QueryAddPending()) unload();
}

}  // namespace migration
