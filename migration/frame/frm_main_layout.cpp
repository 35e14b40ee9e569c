// The main window's controls: their names, captions, tool tips, list entries and menus.
#include "frame/frm_main.h"

#include "context/program.h"

namespace migration {

namespace {

using forms::CheckState;
using forms::CommandButton;

const std::vector<std::string> kWindowsVersions = {"Windows 95", "Windows 98", "Windows ME",
                                                   "Windows NT 4.0", "Windows 2000/XP"};

const std::vector<std::string> kMigrationSettings = {
    "Desktop Settings (wallpaper, etc...)",
    "Desktop Shortcuts",
    "Microsoft Office and Outlook Settings",
    "Personal Address Books",
    "Microsoft Outlook Express Settings",
    "Internet Explorer Settings and Favorites",
    "Convert Netscape Bookmarks to IE Favorites",
    "Windows Explorer Settings",
    "Network Drive Mappings",
    "Adobe Products",
    "Microsoft Visual Studio",
    "Installed Printers",
    "Lotus Notes",
    "Lotus Smart Center",
    "Lotus 123",
    "Lotus Approach",
    "Lotus Organizer",
    "Macromedia Applications",
    "Nico Mak Computing",
    "Yahoo Messenger",
    "Techsmith(Snag-it)",
    "WinRAR",
    "Kodak Imaging",
};

const std::vector<std::string> kStandardFileTypes = {
    "MS Word (*.doc, *.dot, *.rtf)",
    "MS Excel (*.xls, *.xla)",
    "MS Power Point (*.ppt)",
    "MS Access (*.mdb, *.mde)",
    "MS Project (*.prj)",
    "HTML Files (*.htm, *.html)",
    "Graphics Files (*.jpg, *.gif, *.tiff, *.bmp, *.psd)",
    "Archives (*.zip,*.arj, *.lhz, *.rar, *.ace)",
    "Niku Time (*.rmp) ",
};

const std::vector<std::string> kFoundFileColumns = {"File Path", "Filename", "Size (kb)",
                                                    "Modified"};

void addButtons(forms::ControlArray<CommandButton>& array, const std::string& name,
                const std::string& caption, const std::string& picture,
                const std::vector<std::string>& toolTips) {
  for (std::size_t i = 0; i < toolTips.size(); ++i) {
    auto& button = array.add(
        std::make_unique<CommandButton>(name, caption, static_cast<int>(i), picture));
    button.setToolTipText(toolTips[i]);
  }
}

}  // namespace

frmMain::frmMain(Program& program)
    : forms::Form(program.ui(), "frmMain", "Transvale!"),
      tabRTF("tabRTF", {"Export User Settings", "Backup User Documents", "Restore User"}),
      sbMain("sbMain", {{"status", "Ready"}, {"count", ""}}),
      lblUser("lblUser", "Current User:"),
      txtUser("txtUser"),
      lblMigrateDir("lblMigrateDir",
                    "Select The Folder Where The Migration Structure Will Be Created:"),
      txtMigrateDir("txtMigrateDir"),
      fraMigFrom("fraMigFrom", "Migrating From"),
      optMigFrom("optMigFrom", kWindowsVersions),
      fraMigTo("fraMigTo", "Migrating To"),
      optMigTo("optMigTo", kWindowsVersions),
      lblMigration("lblMigration", "Select User Settings To Export:"),
      lstMigration("lstMigration", forms::MultiSelect::Simple, kMigrationSettings),
      lblScanDrive("lblScanDrive", "Drive to Scan for Files:"),
      drvScan("drvScan", program.files()),
      lblStandardFiles("lblStandardFiles", "Types of Files for Backup"),
      lstStandardFiles("lstStandardFiles", forms::MultiSelect::Simple, kStandardFileTypes),
      chkCustom("chkCustom", "Custom File Types"),
      lvType("lvType", {"Type", "Description"}),
      cmdAdd("cmdAdd", "Add Type"),
      cmdClear("cmdClear", "Clear"),
      lblFiles("lblFiles", "User Files To Backup:"),
      lvFiles("lvFiles", kFoundFileColumns),
      lblFileDir("lblFileDir", "Backup User Files To:"),
      txtFileDir("txtFileDir"),
      chkDefaultFile("chkDefaultFile", "Store Files With Migration Settings", CheckState::Checked),
      chkSaveDir("chkSaveDir", "Save Directory Structure and Location of Files",
                 CheckState::Checked),
      chkData("chkData", "Copy Data Directory Only"),
      lblMigFile("lblMigFile", "Select the Directory that contains the master.mig file:"),
      txtMigFile("txtMigFile", "C:\\"),
      lblRestoreFiles("lblRestoreFiles",
                      "Select the Default Directory To Restore User Files Into:"),
      txtRestoreFiles("txtRestoreFiles", "C:\\"),
      chkRestoreFiles("chkRestoreFiles", "Restore User Documents", CheckState::Checked),
      cmdRestoreSettings("cmdRestoreSettings", "Restore Settings"),
      cmdRestoreFiles("cmdRestoreFiles", "Restore Files"),
      lblRestore("lblRestore",
                 "Select the files you wish to restore.  Double-Click an item to change the "
                 "default restore destination:"),
      lvRestore("lvRestore", {"File Name", "Restore Directory"}),
      Text1("Text1"),
      txtLimitLength("txtLimitLength", "256000"),
      filHidden("filHidden", program.files()),
      dirHidden("dirHidden", program.files()),
      List1("List1"),
      File1("File1", program.files(), "script*"),
      fileLnk("fileLnk", program.files()),
      mnuFile("mnuFile", "&File"),
      mnuMigration("mnuMigration", "&Migration"),
      mnuOptions("mnuOptions", "&Options"),
      mnuScript("mnuScript", "&Create Custom Script"),
      mnuHelp("mnuHelp", "&Help"),
      m_program(program) {
  for (int page = 0; page < 3; ++page) {
    fraContainer.add(std::make_unique<forms::Frame>("fraContainer", "", page));
  }
  addButtons(cmdMigrate, "cmdMigrate", "Export", "", {"", ""});
  addButtons(cmdFileScan, "cmdFileScan", "Scan", "", {"", ""});
  addButtons(cmdCopyFiles, "cmdCopyFiles", "Copy Files", "", {"", ""});
  addButtons(cmdSelAll, "cmdSelAll", "", "select-all",
             {"Select All Migration Settings", "Select All File Types to be Scanned",
              "Select All Files", "Select All Files"});
  addButtons(cmdDeselAll, "cmdDeselAll", "", "deselect-all",
             {"Deselect All Migration Settings", "Deselect All File Types", "Deselect All Files",
              "Deselect All Files"});
  addButtons(cmdBrowse, "cmdBrowse", "", "browse",
             {"Browse for a Directory", "Browse for a Directory",
              "Browse for Migration file (migration.mig)", "Browse for a Directory"});
  optMigFrom[0].setValue(true);
  optMigTo[4].setValue(true);
  cmdAdd.setToolTipText("Add a new Custom File Type to be Included in the File Scan");
  cmdClear.setToolTipText("Remove the Selected Custom File Type");
  // Custom types take part only while chkCustom is checked, and it starts clear.
  cmdAdd.setEnabled(false);
  cmdClear.setEnabled(false);
  lvType.setEnabled(false);
  lvType.setBackground(forms::ListView::Background::ButtonFace);
  for (forms::Control* hidden : std::initializer_list<forms::Control*>{
           &Text1, &txtLimitLength, &filHidden, &dirHidden, &List1, &File1, &fileLnk}) {
    hidden->setVisible(false);
  }
  buildMenus();
  addControls();
  connectHandlers();
  createZipComponent();
  m_program.setMainWindow(this);
}

frmMain::~frmMain() { m_program.setMainWindow(nullptr); }

void frmMain::buildMenus() {
  mnuFile.add("mnuFileSave", "Save Configuration").onClick = [this] { mnuFileSave_Click(); };
  mnuFile.add("mnuFileCreate", "Create Config File").onClick = [this] { mnuFileCreate_Click(); };
  mnuFile.add("mnuFileDash", "-");
  mnuFile.add("mnuFileExit", "Exit").onClick = [this] { mnuFileExit_Click(); };

  mnuMigration.add("mnuMigrationScan", "Scan for User Documents").onClick = [this] {
    mnuMigrationScan_Click();
  };
  mnuMigration.add("mnuMigrationBackup", "Backup User Documents").onClick = [this] {
    mnuMigrationBackup_Click();
  };
  mnuMigration.add("mnuMigrationDash1", "-");
  mnuMigration.add("mnuMigrationExport", "Export User Settings").onClick = [this] {
    mnuMigrationExport_Click();
  };
  mnuMigration.add("mnuMigrationDash2", "-");
  mnuMigration.add("mnuMigrationRestoreDocs", "Restore User Documents").onClick = [this] {
    mnuMigrationRestoreDocs_Click();
  };
  mnuMigration.add("mnuMigrationRestore", "Restore User Settings").onClick = [this] {
    mnuMigrationRestore_Click();
  };
  mnuMigration.add("mnuMigrationRestoreLog", "View Restore Log").onClick = [this] {
    mnuMigrationRestoreLog_Click();
  };

  mnuOptions.add("mnuOptionsCustom", "Add Custom File Type").onClick = [this] {
    mnuOptionsCustom_Click();
  };
  mnuOptions.add("mnuOptionsExclude", "Edit Directory Exclude List").onClick = [this] {
    mnuOptionsExclude_Click();
  };
  mnuScript.onClick = [this] { mnuScript_Click(); };
  mnuHelp.add("mnuHelpAbout", "About Transvale!").onClick = [this] { mnuHelpAbout_Click(); };
}

void frmMain::addControls() {
  add(tabRTF);
  for (const auto& frame : fraContainer) add(*frame);
  add(sbMain);
  for (auto* array : {&cmdMigrate, &cmdFileScan, &cmdCopyFiles, &cmdSelAll, &cmdDeselAll,
                      &cmdBrowse}) {
    for (const auto& button : *array) add(*button);
  }
  for (forms::Control* control : std::initializer_list<forms::Control*>{
           &lblUser, &txtUser, &lblMigrateDir, &txtMigrateDir, &fraMigFrom, &fraMigTo}) {
    add(*control);
  }
  for (std::size_t i = 0; i < optMigFrom.count(); ++i) add(optMigFrom[i]);
  for (std::size_t i = 0; i < optMigTo.count(); ++i) add(optMigTo[i]);
  for (forms::Control* control : std::initializer_list<forms::Control*>{
           &lblMigration, &lstMigration, &lblScanDrive, &drvScan, &lblStandardFiles,
           &lstStandardFiles, &chkCustom, &lvType, &cmdAdd, &cmdClear, &lblFiles, &lvFiles,
           &lblFileDir, &txtFileDir, &chkDefaultFile, &chkSaveDir, &chkData, &lblMigFile,
           &txtMigFile, &lblRestoreFiles, &txtRestoreFiles, &chkRestoreFiles,
           &cmdRestoreSettings, &cmdRestoreFiles, &lblRestore, &lvRestore, &Text1,
           &txtLimitLength, &filHidden, &dirHidden, &List1, &File1, &fileLnk}) {
    add(*control);
  }
  for (forms::MenuItem* menu : {&mnuFile, &mnuMigration, &mnuOptions, &mnuScript, &mnuHelp}) {
    addMenu(*menu);
  }
}

void frmMain::connectHandlers() {
  tabRTF.onClick = [this] { tabRTF_Click(); };
  for (int i = 0; i < 2; ++i) {
    cmdMigrate[i].onClick = [this, i] { cmdMigrate_Click(i); };
    cmdFileScan[i].onClick = [this, i] { cmdFileScan_Click(i); };
    cmdCopyFiles[i].onClick = [this, i] { cmdCopyFiles_Click(i); };
  }
  for (int i = 0; i < 4; ++i) {
    cmdSelAll[i].onClick = [this, i] { cmdSelAll_Click(i); };
    cmdDeselAll[i].onClick = [this, i] { cmdDeselAll_Click(i); };
    cmdBrowse[i].onClick = [this, i] { cmdBrowse_Click(i); };
  }
  chkCustom.onClick = [this] { chkCustom_Click(); };
  chkDefaultFile.onClick = [this] { chkDefaultFile_Click(); };
  cmdAdd.onClick = [this] { cmdAdd_Click(); };
  cmdClear.onClick = [this] { cmdClear_Click(); };
  cmdRestoreSettings.onClick = [this] { cmdRestoreSettings_Click(); };
  cmdRestoreFiles.onClick = [this] { cmdRestoreFiles_Click(); };
}

void frmMain::bringPageToFront(int position) {
  if (position < 0 || position >= static_cast<int>(fraContainer.count())) return;
  if (m_frontPage == position) return;
  m_frontPage = position;
  changed.emit();
}

}  // namespace migration
