#include "scan/frm_browse.h"

#include "context/program.h"
#include "platform/text_encoding.h"
#include "scan/frm_new_dir.h"

namespace migration {

frmBrowse::frmBrowse(Program& program)
    : forms::Form(program.ui(), "frmBrowse", "Select A Directory"),
      Drive1("Drive1", program.files()),
      Dir1("Dir1", program.files()),
      lblMig("lblMig", "Migration File (Master.mig)"),
      filMig("filMig", program.files(), "Master.mig"),
      cmdCreate("cmdCreate", "Create New Directory"),
      cmdOK("cmdOK", "OK"),
      cmdCancel("cmdCancel", "Cancel"),
      m_program(program) {
  for (forms::Control* control : std::initializer_list<forms::Control*>{
           &Drive1, &Dir1, &lblMig, &filMig, &cmdCreate, &cmdOK, &cmdCancel}) {
    add(*control);
  }
  Drive1.onChange = [this] { Drive1_Change(); };
  Dir1.onChange = [this] { Dir1_Change(); };
  cmdOK.onClick = [this] { cmdOK_Click(); };
  cmdCancel.onClick = [this] { cmdCancel_Click(); };
  cmdCreate.onClick = [this] { cmdCreate_Click(); };
}

std::string frmBrowse::Get_Dir(int mode) {
  m_mode = mode;
  strSelected.clear();
  bOK = false;
  lblMig.setVisible(masterFileMode());
  filMig.setVisible(masterFileMode());
  cmdCreate.setEnabled(!masterFileMode());
  show(forms::ShowMode::Modal);
  return bOK ? strSelected : std::string();
}

void frmBrowse::Drive1_Change() {
  // A drive that cannot be read leaves the directory list where it was.
  platform::ignoreFailure(Dir1.setPath(Drive1.drive().substr(0, 2)), "a drive that cannot be read");
}

void frmBrowse::Dir1_Change() {
  if (!masterFileMode()) {
    strSelected = Dir1.path();
    return;
  }
  platform::ignoreFailure(filMig.setPath(Dir1.path()), "a folder whose files cannot be listed");
  std::string first;
  if (filMig.count() > 0) {
    filMig.setListIndex(0);
    first = filMig.item(0);
  }
  strSelected = Dir1.path() + "\\" + first;
}

void frmBrowse::cmdOK_Click() {
  if (masterFileMode() &&
      (filMig.count() == 0 || platform::ansiToUpper(filMig.item(0)) != "MASTER.MIG")) {
    m_program.msgBox("You MUST select a 'Master.mig' command file!", forms::MsgButtons::OK,
                     forms::MsgIcon::Exclamation, "Incorrect File");
    return;
  }
  if (platform::ansiToUpper(Dir1.path()) == "C:\\") {
    m_program.mainWindow().setFieldText(MainWindow::Field::RestoreFiles, "C:\\");
  }
  bOK = true;
  unload();
}

void frmBrowse::cmdCancel_Click() {
  bOK = false;
  unload();
}

void frmBrowse::cmdCreate_Click() {
  frmNewDir newDir(m_program);
  newDir.New_Dir(Dir1.path());
  Dir1.refresh();
}

bool frmBrowse::Form_QueryUnload(forms::UnloadMode mode) {
  if (mode == forms::UnloadMode::WindowFrame) bOK = false;
  return true;
}

}  // namespace migration
