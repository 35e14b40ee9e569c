// The main window's behaviour: load and unload, the status line, the list commands, the check
// boxes and the menus. The scan, copy and browse commands live in frm_main_file_commands.cpp,
// the export command in frm_main_export_command.cpp and the restore commands in
// frm_main_restore_commands.cpp.
#include "frame/frm_main.h"

#include <optional>

#include "context/mdl_registry.h"
#include "frame/frm_about.h"
#include "frame/frm_status_message.h"
#include "context/mdl_config.h"
#include "frame/save_defaults.h"
#include "context/program.h"
#include "scan/frm_exclude.h"
#include "script/frm_reg_enum.h"

namespace migration {

namespace {

constexpr const char* kUserShellFoldersKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
constexpr const char* kMyDocuments = "C:\\My Documents";
constexpr const char* kRemoveEveryoneFromPowerUsers =
    "net localgroup \"Power Users\" \"Everyone\" /delete";

// Selects each listed entry in turn; an entry that is not in the list stops the selection.
[[nodiscard]] platform::Status selectEntries(forms::ListBox& list,
                                             const std::vector<std::string>& indexes) {
  for (const std::string& text : indexes) {
    const auto index = textToInteger(text);
    if (!index || *index < 0 || !list.setSelected(static_cast<std::size_t>(*index), true)) {
      return platform::ERROR_INVALID_PARAMETER;
    }
  }
  return platform::ERROR_SUCCESS;
}

// The text box or check box a module names, for a window that may be const.
template <typename Window>
auto& fieldOf(Window& window, MainWindow::Field which) {
  switch (which) {
    case MainWindow::Field::FileDir: return window.txtFileDir;
    case MainWindow::Field::MigFile: return window.txtMigFile;
    case MainWindow::Field::RestoreFiles: return window.txtRestoreFiles;
    case MainWindow::Field::LimitLength: return window.txtLimitLength;
    case MainWindow::Field::MigrateDir: break;
  }
  return window.txtMigrateDir;
}

template <typename Window>
auto& optionOf(Window& window, MainWindow::Option which) {
  switch (which) {
    case MainWindow::Option::SaveDirectories: return window.chkSaveDir;
    case MainWindow::Option::DataOnly: return window.chkData;
    case MainWindow::Option::RestoreDocuments: return window.chkRestoreFiles;
    case MainWindow::Option::CustomTypes: break;
  }
  return window.chkCustom;
}

}  // namespace

std::string frmMain::fieldText(Field which) const { return fieldOf(*this, which).text(); }

void frmMain::setFieldText(Field which, const std::string& text) {
  fieldOf(*this, which).setText(text);
}

bool frmMain::isChecked(Option which) const { return optionOf(*this, which).checked(); }

void frmMain::check(Option which) { optionOf(*this, which).setValue(forms::CheckState::Checked); }

std::vector<std::size_t> frmMain::selectedStandardTypes() const {
  return lstStandardFiles.selectedIndexes();
}

std::vector<std::string> frmMain::driveEntries() const {
  std::vector<std::string> entries;
  for (std::size_t i = 0; i < drvScan.count(); ++i) entries.push_back(drvScan.item(i));
  return entries;
}

void frmMain::createZipComponent() {
  auto created = parcelon::xZip::create(m_program.machine());
  // A machine without the component still runs the program; archive commands skip it.
  if (created) xZip = std::move(created.value());
}

void frmMain::Form_Load() {
  SessionContext& session = m_program.session;
  bringPageToFront(0);
  Text1.setText("");
  applyDefaultRestoreDirectory();
  // A configuration value that does not fit leaves the later ones unapplied, and that is all.
  platform::ignoreFailure(applyConfiguration(), "a configuration value that does not fit");
  if (session.strUserName.empty()) {
    session.strUserName = "Local";
    txtUser.setText(session.strUserName);
  }
  txtMigrateDir.setText("c:\\migrate\\" + session.strUserName);
  // One level only: without c:\migrate the directory is simply not there yet.
  platform::ignoreFailure(m_program.files().createFolder(txtMigrateDir.text()), "the user's folder under c:\\migrate");
  txtFileDir.setText(txtMigrateDir.text());
  txtMigFile.setText(txtMigrateDir.text() + "\\migration\\master.mig");
  if (lvType.count() > 0) chkCustom.setValue(forms::CheckState::Checked);
  bFilesScanned = false;
  bFilesCopied = false;
  bSettingsExported = false;
  if (session.bAutoMode) runAutoMode();
  if (session.bRestoreMode) runRestoreMode();
}

void frmMain::applyDefaultRestoreDirectory() {
  std::string personal = QueryKeyValue(m_program.registry(), platform::HKEY_CURRENT_USER,
                                       kUserShellFoldersKey, "Personal")
                             .toText();
  if (personal.find("None") != std::string::npos) {
    txtRestoreFiles.setText(kMyDocuments);
    return;
  }
  personal = withoutFinalNul(std::move(personal));
  if (personal.empty()) return;
  txtRestoreFiles.setText(personal[0] != '\0' ? personal : kMyDocuments);
}

platform::Status frmMain::applyConfiguration() {
  Configuration& config = m_program.config;
  txtUser.setText(m_program.session.strUserName);
  if (!drvScan.setDrive(config.strDefaultScanDrive)) return platform::ERROR_INVALID_DRIVE;

  const auto migrationType = splitCommaList(config.strDefaultMigrationType);
  const auto fileTypes = splitCommaList(config.strDefaultFileTypes);
  const auto settings = splitCommaList(config.strDefaultMigrationSettings);
  const auto customTypes = splitCommaList(config.varDefaultCustomTypes);

  // Only the "to" option is applied; the "from" option keeps its initial choice.
  const auto to = migrationType.size() > 1 ? textToInteger(migrationType[1]) : std::nullopt;
  if (!to || *to < 0 || *to >= static_cast<int>(optMigTo.count())) {
    return platform::ERROR_INVALID_PARAMETER;
  }
  optMigTo[static_cast<std::size_t>(*to)].setValue(true);

  if (const auto status = selectEntries(lstStandardFiles, fileTypes); status.failed()) return status;
  if (const auto status = selectEntries(lstMigration, settings); status.failed()) return status;
  for (const std::string& extension : customTypes) lvType.add({extension, {}, false});
  LoadExcludeList(config);
  return platform::ERROR_SUCCESS;
}

void frmMain::runAutoMode() {
  // One run in the log for the whole sequence, so that its summary covers the copy too.
  RunLog::Scope run(m_program.runLog(), "Unattended export");
  cmdMigrate_Click(0);
  cmdFileScan_Click(0);
  cmdSelAll_Click(2);
  cmdCopyFiles_Click(0);
  mnuFileExit_Click();
}

void frmMain::runRestoreMode() {
  ui().setMousePointer(forms::MousePointer::Hourglass);
  cmdRestoreSettings_Click();
  mnuFileExit_Click();
  ui().setMousePointer(forms::MousePointer::Default);
}

void frmMain::Form_Unload() {
  // Started and forgotten: the program does not wait for it and a failure changes nothing.
  platform::ignoreFailure(m_program.machine().processes().start(
      kRemoveEveryoneFromPowerUsers, platform::WindowStyle::Hidden, platform::Wait::No), "removing Everyone from Power Users");
  frmStatusMessage& status = m_program.sharedForm<frmStatusMessage>();
  status.setTopmost(false);
  status.unload();
}

void frmMain::Update_Status(int panel, const std::string& text) {
  // A panel number other than 1 or 2 changes nothing.
  static_cast<void>(sbMain.setPanelText(panel, text));
}

void frmMain::Select_All() { lvFiles.setAllSelected(true); }

void frmMain::creatpath(const std::string& path, int level) {
  // The prefixes that end just before the level-th backslash and each later one, then the path.
  int backslashes = 0;
  for (std::size_t i = 0; i < path.size(); ++i) {
    if (path[i] != '\\') continue;
    if (++backslashes < level) continue;
    const std::string prefix = path.substr(0, i);
    if (!m_program.files().folderExists(prefix)) {
      // Skipped without a message: the caller finds out when it writes into it.
      platform::ignoreFailure(m_program.files().createFolder(prefix), "a folder of creatpath");
    }
  }
  if (!m_program.files().folderExists(path)) {
    platform::ignoreFailure(m_program.files().createFolder(path), "a folder of creatpath");
  }
}

void frmMain::tabRTF_Click() { bringPageToFront(static_cast<int>(tabRTF.selected())); }

void frmMain::cmdSelAll_Click(int index) {
  switch (index) {
    case 0: lstMigration.setAllSelected(true); break;
    case 1: lstStandardFiles.setAllSelected(true); break;
    case 2: lvFiles.setAllSelected(true); break;
    case 3: lvRestore.setAllSelected(true); break;
    default: break;
  }
}

void frmMain::cmdDeselAll_Click(int index) {
  switch (index) {
    case 0: lstMigration.setAllSelected(false); break;
    case 1: lstStandardFiles.setAllSelected(false); break;
    case 2: lvFiles.setAllSelected(false); break;
    case 3: lvRestore.setAllSelected(false); break;
    default: break;
  }
}

void frmMain::chkCustom_Click() {
  const bool on = chkCustom.value() == forms::CheckState::Checked;
  cmdAdd.setEnabled(on);
  cmdClear.setEnabled(on);
  lvType.setEnabled(on);
  lvType.setBackground(on ? forms::ListView::Background::Window
                          : forms::ListView::Background::ButtonFace);
}

void frmMain::chkDefaultFile_Click() {
  if (chkDefaultFile.value() == forms::CheckState::Checked) {
    txtFileDir.setText(txtMigrateDir.text());
  }
}

void frmMain::mnuFileSave_Click() { SaveDefaults(m_program); }

// NOTE: the menu item exists for the configuration file writer that never came; it does nothing.
void frmMain::mnuFileCreate_Click() {}

void frmMain::mnuFileExit_Click() { unload(); }

void frmMain::mnuMigrationScan_Click() { cmdFileScan_Click(0); }

void frmMain::mnuMigrationBackup_Click() { cmdCopyFiles_Click(0); }

void frmMain::mnuMigrationExport_Click() { cmdMigrate_Click(0); }

void frmMain::mnuMigrationRestoreDocs_Click() { cmdRestoreFiles_Click(); }

void frmMain::mnuMigrationRestore_Click() { cmdRestoreSettings_Click(); }

void frmMain::mnuOptionsCustom_Click() { cmdAdd_Click(); }

void frmMain::mnuOptionsExclude_Click() {
  frmExclude dialog(m_program);
  dialog.show(forms::ShowMode::Modal);
}

// Modeless: the builder may stay open beside the main window, and outlive it.
void frmMain::mnuScript_Click() { m_program.sharedForm<frmRegEnum>().show(forms::ShowMode::Modeless); }

void frmMain::mnuHelpAbout_Click() {
  frmAbout about(m_program);
  about.show(forms::ShowMode::Modal);
}

}  // namespace migration
