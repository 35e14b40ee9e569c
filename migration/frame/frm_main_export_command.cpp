// The main window's export command: checks the user's choices, then captures the settings and
// copies the data and profile files into the migration directory.
#include "capture/capture_state.h"
#include "context/program.h"
#include "frame/frm_main.h"
#include "frame/frm_status_message.h"
#include "scan/mdl_file_copy.h"

namespace migration {

namespace {

constexpr int kExportPage = 0;

}  // namespace

void frmMain::cmdMigrate_Click(int /*index*/) {
  RunLog::Scope run(m_program.runLog(), "Export");
  const auto enableMigrate = [this](bool enabled) {
    cmdMigrate[0].setEnabled(enabled);
    cmdMigrate[1].setEnabled(enabled);
  };
  enableMigrate(false);
  if (!visible()) m_program.sharedForm<frmStatusMessage>().show();
  txtFileDir.setText(txtMigrateDir.text());
  tabRTF.select(kExportPage);
  bringPageToFront(kExportPage);
  if (lstMigration.selectedIndexes().empty()) {
    m_program.runLog().failure("export: no user state setting selected");
    m_program.msgBox(
        "You must select at least one User State Migration\r\nsetting in order to perform a "
        "State Migration!",
        forms::MsgButtons::OK, forms::MsgIcon::Exclamation, "No User State Settings Selected");
    enableMigrate(true);
    return;
  }
  std::string directory = txtMigrateDir.text();
  if (!FolderExists(m_program, directory)) {
    m_program.runLog().failure("export: the migration directory \"" + txtMigrateDir.text() +
                               "\" does not exist");
    m_program.msgBox("The specified migration directory does not exist", forms::MsgButtons::OK,
                     forms::MsgIcon::Exclamation, "Invalid Directory");
    enableMigrate(true);
    return;
  }
  ui().setMousePointer(forms::MousePointer::Hourglass);
  Update_Status(1, "Beginning User State Migration...");
  Update_Status(2, "");
  CaptureState(m_program, txtMigrateDir.text(), bFilesCopied);
  CopyDataFiles(m_program);
  Update_Status(1, "Ready");
  BackupProfileFiles(m_program);
  bSettingsExported = true;
  Update_Status(1, "Ready");
  enableMigrate(true);
  ui().setMousePointer(forms::MousePointer::Default);
}

}  // namespace migration
