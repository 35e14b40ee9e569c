// The main window's restore commands, the restore of the archived files, and the window that
// shows the restore's log.
#include "frame/frm_main.h"

#include "context/program.h"
#include "context/run_log.h"
#include "frame/frm_restore_log.h"
#include "frame/frm_status_message.h"
#include "restore/archive_restore.h"
#include "restore/file_placement.h"
#include "restore/restore_report.h"
#include "restore/restore_state.h"

namespace migration {

void frmMain::cmdRestoreSettings_Click() {
  cmdRestoreSettings.setEnabled(false);
  if (!visible()) {
    frmStatusMessage& status = m_program.sharedForm<frmStatusMessage>();
    status.show(forms::ShowMode::Modeless);
    status.Label1.setCaption("Restoring Settings and Files");
  }
  // The master command file of the migration directory on the first page, whatever the user
  // chose on the restore page.
  txtMigFile.setText(txtMigrateDir.text() + "\\migration\\master.mig");
  ui().setMousePointer(forms::MousePointer::Hourglass);
  ui().doEvents();
  const std::string masterFile = txtMigFile.text();
  platform::Status opened;
  runRestore([&](RestoreReport& report) { opened = RestoreState(m_program, masterFile, report); });
  // An unattended run has no one to read a box: its log and exit status say it.
  if (opened.failed() && visible()) {
    m_program.msgBox("The master command file\r\n" + masterFile +
                         "\r\ncould not be opened, so no settings were restored.",
                     forms::MsgButtons::OK, forms::MsgIcon::Exclamation, "Master File Not Read");
  }
  ui().setMousePointer(forms::MousePointer::Default);
  Update_Status(1, "Ready");
  cmdRestoreSettings.setEnabled(true);
}

void frmMain::cmdRestoreFiles_Click() {
  runRestore([this](RestoreReport&) { RestoreFilesAlso(); });
}

void frmMain::RestoreFilesAlso() {
  const ArchiveRestore restored = RestoreArchivedFiles(m_program);
  if (m_restoreReport != nullptr) ReconcileArchive(m_program.files(), restored, *m_restoreReport);
}

void frmMain::runRestore(const std::function<void(RestoreReport&)>& restore) {
  RunLog& log = m_program.runLog();
  RunLog::Scope scope(log, "Restore");
  const std::string migrationDirectory = MigrationDirWithoutBackslash(txtMigFile.text());
  if (!migrationDirectory.empty()) log.setFolder(migrationDirectory);
  const SessionContext& session = m_program.session;
  log.note("restore from " + txtMigFile.text() + " for the user " + session.strUserName);
  RestoreReport report;
  // RestoreFilesAlso adds its archive to the report while the restore runs, and only then.
  struct Active {
    RestoreReport*& slot;
    ~Active() { slot = nullptr; }
  } active{m_restoreReport};
  m_restoreReport = &report;
  restore(report);
  m_restoreReport = nullptr;
  report.writeTo(log);
  Update_Status(2, report.statusText());
}

void frmMain::mnuMigrationRestoreLog_Click() {
  frmRestoreLog& viewer = m_program.sharedForm<frmRestoreLog>();
  viewer.showLog(MigrationDirWithoutBackslash(txtMigFile.text()) + "\\" + RunLog::kFileName);
  viewer.show(forms::ShowMode::Modal);
}

}  // namespace migration
