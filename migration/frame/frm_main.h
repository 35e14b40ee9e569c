// The main window: three tab pages (export of user settings, backup of user documents, restore),
// the status bar, the hidden working controls the modules use, the menus and every command.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "context/main_window.h"
#include "forms/check_box.h"
#include "forms/command_button.h"
#include "forms/control_array.h"
#include "forms/dir_list_box.h"
#include "forms/drive_list_box.h"
#include "forms/file_list_box.h"
#include "forms/form.h"
#include "forms/frame.h"
#include "forms/label.h"
#include "forms/list_box.h"
#include "forms/list_view.h"
#include "forms/menu_item.h"
#include "forms/option_button.h"
#include "forms/status_bar.h"
#include "forms/tab_strip.h"
#include "forms/text_box.h"
#include "platform/status.h"
#include "x_zip.h"

namespace migration {

class Program;
class RestoreReport;

class frmMain final : public forms::Form, public MainWindow {
 public:
  explicit frmMain(Program& program);
  ~frmMain() override;

  // Public methods other modules call.
  void Update_Status(int panel, const std::string& text) override;
  void Select_All() override;
  void RestoreFilesAlso() override;
  void creatpath(const std::string& path, int level) override;

  // What the modules see of the window.
  std::string fieldText(Field field) const override;
  void setFieldText(Field field, const std::string& text) override;
  bool isChecked(Option option) const override;
  void check(Option option) override;
  forms::ListView& foundFiles() override { return lvFiles; }
  forms::ListView& customTypes() override { return lvType; }
  std::vector<std::size_t> selectedStandardTypes() const override;
  std::size_t settingsCount() const override { return lstMigration.count(); }
  bool settingSelected(std::size_t index) const override { return lstMigration.selected(index); }
  std::vector<std::string> driveEntries() const override;
  parcelon::xZip* zipComponent() override { return xZip.get(); }

  // Event procedures, by control.
  void tabRTF_Click();
  void cmdSelAll_Click(int index);
  void cmdDeselAll_Click(int index);
  void chkCustom_Click();
  void chkDefaultFile_Click();
  void cmdFileScan_Click(int index);
  void cmdCopyFiles_Click(int index);
  void cmdBrowse_Click(int index);
  void cmdAdd_Click();
  void cmdClear_Click();
  void cmdMigrate_Click(int index);
  void cmdRestoreSettings_Click();
  void cmdRestoreFiles_Click();
  void mnuFileSave_Click();
  void mnuFileCreate_Click();
  void mnuFileExit_Click();
  void mnuMigrationScan_Click();
  void mnuMigrationBackup_Click();
  void mnuMigrationExport_Click();
  void mnuMigrationRestoreDocs_Click();
  void mnuMigrationRestore_Click();
  void mnuMigrationRestoreLog_Click();
  void mnuOptionsCustom_Click();
  void mnuOptionsExclude_Click();
  void mnuScript_Click();
  void mnuHelpAbout_Click();

  // Brings the page of the tab at `position` (0-based) to the front.
  void bringPageToFront(int position);
  int frontPage() const { return m_frontPage; }

  // The tab strip and its pages.
  forms::TabStrip tabRTF;
  forms::ControlArray<forms::Frame> fraContainer;
  forms::StatusBar sbMain;

  // Buttons that appear once per page.
  forms::ControlArray<forms::CommandButton> cmdMigrate;
  forms::ControlArray<forms::CommandButton> cmdFileScan;
  forms::ControlArray<forms::CommandButton> cmdCopyFiles;
  forms::ControlArray<forms::CommandButton> cmdSelAll;
  forms::ControlArray<forms::CommandButton> cmdDeselAll;
  forms::ControlArray<forms::CommandButton> cmdBrowse;

  // Page 1, "Export User Settings".
  forms::Label lblUser;
  forms::TextBox txtUser;
  forms::Label lblMigrateDir;
  forms::TextBox txtMigrateDir;
  forms::Frame fraMigFrom;
  forms::OptionGroup optMigFrom;
  forms::Frame fraMigTo;
  forms::OptionGroup optMigTo;
  forms::Label lblMigration;
  forms::ListBox lstMigration;

  // Page 2, "Backup User Documents".
  forms::Label lblScanDrive;
  forms::DriveListBox drvScan;
  forms::Label lblStandardFiles;
  forms::ListBox lstStandardFiles;
  forms::CheckBox chkCustom;
  forms::ListView lvType;
  forms::CommandButton cmdAdd;
  forms::CommandButton cmdClear;
  forms::Label lblFiles;
  forms::ListView lvFiles;
  forms::Label lblFileDir;
  forms::TextBox txtFileDir;
  forms::CheckBox chkDefaultFile;
  forms::CheckBox chkSaveDir;
  forms::CheckBox chkData;

  // Page 3, "Restore User".
  forms::Label lblMigFile;
  forms::TextBox txtMigFile;
  forms::Label lblRestoreFiles;
  forms::TextBox txtRestoreFiles;
  forms::CheckBox chkRestoreFiles;
  forms::CommandButton cmdRestoreSettings;
  forms::CommandButton cmdRestoreFiles;
  forms::Label lblRestore;  // lies outside the page's visible area, with lvRestore
  forms::ListView lvRestore;

  // Hidden working controls.
  forms::RichTextBox Text1;
  forms::TextBox txtLimitLength;
  forms::FileListBox filHidden;
  forms::DirListBox dirHidden;
  forms::ListBox List1;
  forms::FileListBox File1;
  forms::FileListBox fileLnk;
  // The zip component, created with the window; null when the machine has none, and the
  // commands that use it then pass over it.
  std::unique_ptr<parcelon::xZip> xZip;

  // Menus.
  forms::MenuItem mnuFile;
  forms::MenuItem mnuMigration;
  forms::MenuItem mnuOptions;
  forms::MenuItem mnuScript;
  forms::MenuItem mnuHelp;

  // Window state, false after load.
  bool bFilesScanned = false;
  bool bFilesCopied = false;
  bool bSettingsExported = false;

 protected:
  void Form_Load() override;
  void Form_Unload() override;

 private:
  void addControls();
  void buildMenus();
  void connectHandlers();

  void createZipComponent();

  // Load steps.
  void applyDefaultRestoreDirectory();
  // Copies the configuration into the controls; stops at the first value that does not fit.
  [[nodiscard]] platform::Status applyConfiguration();
  void runAutoMode();
  void enableScanCommands(bool enabled);
  void runRestoreMode();
  // Runs a restore in the run log's "Restore" run, with a report that `restore` fills; writes
  // the report into the log and shows its summary in the status line.
  void runRestore(const std::function<void(RestoreReport&)>& restore);

  Program& m_program;
  int m_frontPage = 0;
  // The report of the restore that runs, which RestoreFilesAlso adds its archive to.
  RestoreReport* m_restoreReport = nullptr;
};

}  // namespace migration
