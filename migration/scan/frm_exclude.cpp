#include "scan/frm_exclude.h"

#include "context/mdl_registry.h"
#include "context/mdl_config.h"
#include "context/program.h"

namespace migration {

frmExclude::frmExclude(Program& program)
    : forms::Form(program.ui(), "frmExclude",
                  "Add or Remove Directories to be Excluded From A File Scan"),
      fraBrowse("fraBrowse", "Browse for Directories to Exclude"),
      Drive1("Drive1", program.files()),
      Dir1("Dir1", program.files()),
      cmdAdd("cmdAdd", "Add Directory"),
      lvExclude("lvExclude", {"Directories to be Excluded"}),
      cmdRemove("cmdRemove", "Remove Selected Directories"),
      cmdSave("cmdSave", "Save"),
      cmdClose("cmdClose", "Close"),
      m_program(program) {
  for (forms::Control* control : std::initializer_list<forms::Control*>{
           &fraBrowse, &Drive1, &Dir1, &cmdAdd, &lvExclude, &cmdRemove, &cmdSave, &cmdClose}) {
    add(*control);
  }
  Drive1.onChange = [this] { Drive1_Change(); };
  cmdAdd.onClick = [this] { cmdAdd_Click(); };
  cmdRemove.onClick = [this] { cmdRemove_Click(); };
  cmdSave.onClick = [this] { cmdSave_Click(); };
  cmdClose.onClick = [this] { cmdClose_Click(); };
}

void frmExclude::Form_Load() {
  // Choosing C: moves the directory list only when another drive was chosen: point it anyway.
  Drive1.setDrive("C:\\");
  Drive1_Change();
  FillExcludeList();
  bChanged = false;
}

void frmExclude::Drive1_Change() {
  // A drive that cannot be read leaves the directory list where it was.
  platform::ignoreFailure(Dir1.setPath(Drive1.drive().substr(0, 2)), "a drive that cannot be read");
}

void frmExclude::FillExcludeList() {
  for (const std::string& entry : m_program.config.arrExcludeList) {
    lvExclude.add({entry, {}, false});
  }
}

void frmExclude::cmdAdd_Click() {
  lvExclude.add({Dir1.path(), {}, false});
  bChanged = true;
}

void frmExclude::cmdRemove_Click() {
  const std::vector<std::size_t> rows = lvExclude.selectedRows();
  for (auto row = rows.rbegin(); row != rows.rend(); ++row) lvExclude.remove(*row);
  // Counts as a change even when nothing was selected.
  bChanged = true;
}

void frmExclude::cmdSave_Click() { SaveExcludeList(); }

void frmExclude::SaveExcludeList() {
  Configuration& config = m_program.config;
  std::vector<std::string> entries;
  for (std::size_t row = 0; row < lvExclude.count(); ++row)
    entries.push_back(lvExclude.row(row).text);
  config.strDefaultExcludeList = joinCommaList(entries);
  // A failed write is not reported; the list in use changes all the same.
  SetKeyValue(m_program.registry(), platform::HKEY_LOCAL_MACHINE, kDefaultsKey,
              "DefaultExcludeList", config.strDefaultExcludeList, platform::REG_SZ);
  LoadExcludeList(config);
  bChanged = false;
}

bool frmExclude::QuerySaveChanges() {
  if (!bChanged) return true;
  const forms::MsgAnswer answer = m_program.msgBox(
      "Your changes have not been saved and will be lost.\r\n"
      "Do you want to save your changes now?",
      forms::MsgButtons::YesNoCancel, forms::MsgIcon::None, "Changes Not Saved");
  if (answer == forms::MsgAnswer::Cancel) return false;
  if (answer == forms::MsgAnswer::Yes) SaveExcludeList();
  return true;
}

bool frmExclude::Form_QueryUnload(forms::UnloadMode /*mode*/) { return QuerySaveChanges(); }

void frmExclude::cmdClose_Click() { unload(); }

}  // namespace migration
