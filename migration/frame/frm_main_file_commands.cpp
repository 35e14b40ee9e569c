// The main window's scan, copy, browse and custom type commands.
#include "frame/frm_main.h"
#include "context/mdl_config.h"
#include "context/program.h"
#include "platform/text_encoding.h"
#include "scan/frm_add_type.h"
#include "scan/frm_browse.h"
#include "scan/frm_message.h"
#include "scan/mdl_file_copy.h"
#include "scan/mdl_file_search.h"
#include "scan/mdl_file_types.h"

namespace migration {

namespace {

constexpr int kBackupPage = 1;
constexpr const char* kDataDirectory = "C:\\Data";
constexpr const char* kDataDrive = "D:\\";
constexpr const char* kScanMessage = "Searching for files. Press Cancel to stop the search.";

// chkData counts as set when it is checked or grey.
bool isSet(const forms::CheckBox& box) { return box.value() != forms::CheckState::Unchecked; }

bool endsWithNoCase(const std::string& text, const std::string& ending) {
  return text.size() >= ending.size() &&
         platform::ansiEqualNoCase(std::string_view(text).substr(text.size() - ending.size()),
                                   ending);
}

}  // namespace

void frmMain::cmdFileScan_Click(int /*index*/) {
  if (isSet(chkData)) {
    // The data directory stands for the files to copy: nothing is searched.
    lvFiles.clear();
    lvFiles.add({kDataDirectory, {}, false});
    bFilesScanned = true;
    return;
  }
  tabRTF.select(kBackupPage);  // its click brings the page to the front
  const std::string patterns = GetFilePatterns(m_program);
  if (patterns.empty()) {
    m_program.msgBox("Please select at least one type of file\r\nand do the scan again.",
                     forms::MsgButtons::OK, forms::MsgIcon::Exclamation, "No File Types Selected");
    return;
  }
  lvFiles.clear();
  // A second scan started from the window while this one lets events in would fill the same
  // list twice over: the scan commands wait until this one has ended.
  enableScanCommands(false);
  frmMessage& progress = m_program.sharedForm<frmMessage>();
  progress.Cancel_Message(kScanMessage);
  const std::string chosen = drvScan.drive().substr(0, 2) + "\\";
  ScanForFiles(m_program, chosen, patterns);
  // NOTE: D: is searched as well, always: the data drive of the workstations this was made for.
  // Once, though: when the chosen drive is D: its files are listed once.
  if (!platform::ansiEqualNoCase(chosen, kDataDrive)) ScanForFiles(m_program, kDataDrive, patterns);
  cmdDeselAll_Click(2);
  enableScanCommands(true);
  progress.Close_Message();
  bFilesScanned = true;
}

void frmMain::enableScanCommands(bool enabled) {
  for (std::size_t i = 0; i < cmdFileScan.count(); ++i) cmdFileScan[i].setEnabled(enabled);
  for (const auto& item : mnuMigration.children()) {
    if (item->name() == "mnuMigrationScan") item->setEnabled(enabled);
  }
}

void frmMain::cmdCopyFiles_Click(int /*index*/) {
  RunLog::Scope run(m_program.runLog(), "Copy");
  tabRTF.select(kBackupPage);
  if (isSet(chkData)) {
    Update_Status(1, std::string("Copying ") + kDataDirectory);
    CopyDataFiles(m_program);
    Update_Status(1, "Ready");
    bFilesCopied = true;
    return;
  }
  if (lvFiles.count() == 0) {
    m_program.msgBox("There are no Files to copy.", forms::MsgButtons::OK,
                     forms::MsgIcon::Exclamation, "No Files Listed");
    return;
  }
  if (!lvFiles.anySelected()) {
    m_program.msgBox("You must select some files from the list in order to copy them.",
                     forms::MsgButtons::OK, forms::MsgIcon::Exclamation,
                     "Please Select Some Files");
    return;
  }
  std::string directory = txtFileDir.text();
  if (!FolderExists(m_program, directory)) return;  // nothing to copy into, and nothing said
  // The archive goes where the existence test looked: the text without its blanks.
  if (CopySelectedFiles(m_program, directory) == platform::ERROR_SUCCESS) bFilesCopied = true;
}

void frmMain::cmdBrowse_Click(int index) {
  constexpr int kMasterFileButton = 2;
  frmBrowse browse(m_program);
  const std::string answer = browse.Get_Dir(index == kMasterFileButton ? 1 : 0);
  if (answer.empty()) return;  // cancelled
  switch (index) {
    case 0:
      txtMigrateDir.setText(answer);
      txtFileDir.setText(answer);
      break;
    case 1:
      txtFileDir.setText(answer);
      break;
    case 2:
      txtMigFile.setText(answer);
      if (chkRestoreFiles.value() == forms::CheckState::Checked) lvFiles.clear();
      break;
    case 3:
      // A master file is no directory to restore into: the root of C: stands in for it.
      txtRestoreFiles.setText(endsWithNoCase(answer, "master.mig") ? "C:\\" : answer);
      break;
    default:
      break;
  }
}

void frmMain::cmdAdd_Click() {
  frmAddType dialog(m_program);
  dialog.show(forms::ShowMode::Modal);
}

void frmMain::cmdClear_Click() {
  const std::vector<std::size_t> selected = lvType.selectedRows();
  // Highest first, so that the positions still to remove stay valid.
  for (auto row = selected.rbegin(); row != selected.rend(); ++row) lvType.remove(*row);
  std::vector<std::string> types;
  for (std::size_t row = 0; row < lvType.count(); ++row) types.push_back(lvType.row(row).text);
  m_program.config.varDefaultCustomTypes = joinCommaList(types);
}

}  // namespace migration
