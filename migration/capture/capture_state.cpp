#include "capture/capture_state.h"

#include <optional>
#include <string>
#include <vector>

#include "capture/application_captures.h"
#include "capture/capture_run.h"
#include "capture/desktop_captures.h"
#include "capture/network_drive_capture.h"
#include "capture/printer_capture.h"
#include "context/master_file_format.h"
#include "context/migration_dirs.h"
#include "context/program.h"
#include "context/script_file.h"
#include "platform/text_encoding.h"
#include "platform/text_file.h"
#include "scan/mdl_file_copy.h"

namespace migration {

namespace {

constexpr const char* kFixedScriptKeys[] = {
    "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RecentDocs",
    "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU",
};

constexpr const char* kInvalidDirectoryText =
    "There was a problem creating the Migration directory\r\nstructure.  Please check that you "
    "have a valid drive/directory\r\nselected and that you have permission to it.";

// The lines the custom script builder appended since the last capture: those after the last
// empty line (a capture ends the file with one), or all of them when there is none.
std::vector<std::string> builderEntries(platform::FileSystem& files, const std::string& path) {
  std::vector<std::string> entries;
  auto reader = platform::TextReader::open(files, path);
  if (!reader) return entries;
  std::string line;
  while (reader->readLine(line)) {
    if (line.empty()) {
      entries.clear();
    } else {
      entries.push_back(line);
    }
  }
  platform::ignoreFailure(reader->close(), "script.mig, read only");
  return entries;
}

struct ScriptRoot {
  const char* name;
  platform::HKEY root;
};

// The roots a script line may name that the registry serves.
constexpr ScriptRoot kScriptRoots[] = {
    {"HKEY_LOCAL_MACHINE", platform::HKEY_LOCAL_MACHINE},
    {"HKEY_CURRENT_USER", platform::HKEY_CURRENT_USER},
    {"HKEY_CLASSES_ROOT", platform::HKEY_CLASSES_ROOT},
    {"HKEY_USERS", platform::HKEY_USERS},
    {"HKEY_CURRENT_CONFIG", platform::HKEY_CURRENT_CONFIG},
};

std::optional<platform::HKEY> scriptRoot(const std::string& name) {
  const std::string upper = platform::ansiToUpper(name);
  for (const ScriptRoot& root : kScriptRoots) {
    if (upper == root.name) return root.root;
  }
  return std::nullopt;
}

// One capture: the files it keeps open and the steps of the selected items.
class Capture {
 public:
  Capture(Program& program, std::string migrationDir)
      : m_program(program),
        m_run(program, std::move(migrationDir)),
        m_scriptPath(ScriptFilePath(program.session)) {}

  void run(bool filesCopied) {
    startScript();
    if (!prepareDirectories()) return;
    m_run.openMasterFile();
    m_script = openScriptForAppending();
    const std::string& drivers = m_run.driversDir();
    m_run.writeBlock(kUsernameHeader, {m_program.session.strUserName});
    if (filesCopied) {
      m_run.writeBlock(kFilesBackupHeader,
                       {m_run.window().fieldText(MainWindow::Field::FileDir)});
    }
    MainWindow& window = m_run.window();
    for (std::size_t index = 0; index < window.settingsCount(); ++index) {
      if (m_program.session.bCancel) return cancel(index);
      if (window.settingSelected(index)) captureItem(index, drivers);
    }
    closeScript();
    CaptureFavorites(m_run, drivers);
    RunCaptureScript(m_run, m_run.migrationDir());
    m_run.closeMasterFile();
    m_run.log().note("capture complete");
  }

 private:
  // The capture script starts anew with the keys every capture takes, followed by what the
  // custom script builder added since the last capture (so that a key the user added is not
  // lost before anything exports it).
  void startScript() {
    const std::vector<std::string> added = builderEntries(m_run.files(), m_scriptPath);
    auto writer = platform::TextWriter::open(m_run.files(), m_scriptPath,
                                             platform::OpenMode::CreateTruncate);
    if (!writer) {
      m_run.log().warning("the capture script " + m_scriptPath + " could not be written (" +
                          RunLog::describe(writer.status()) + ")");
      return;
    }
    platform::Status status;
    for (const char* key : kFixedScriptKeys) {
      if (status.ok()) status = writer->writeLine(key);
    }
    for (const std::string& entry : added) {
      if (status.ok()) status = writer->writeLine(entry);
      m_run.log().note("script entry kept from the script builder: " + entry);
    }
    const platform::Status closed = writer->close();
    if (status.ok()) status = closed;
    if (status.failed()) {
      m_run.log().warning("the capture script " + m_scriptPath + " was not written whole (" +
                          RunLog::describe(status) + ")");
    }
  }

  bool prepareDirectories() {
    std::string folder = m_run.migrationDir();
    if (FolderExists(m_program, folder)) {
      m_program.runLog().setFolder(m_run.migrationDir());
      return true;
    }
    if (CreateMigrationDirs(m_run.files(), m_run.migrationDir())) {
      m_program.runLog().setFolder(m_run.migrationDir());
      m_run.log().note("migration directory " + m_run.migrationDir() + " made");
      return true;
    }
    m_run.log().failure("the migration directory " + m_run.migrationDir() +
                        " could not be made: nothing was captured");
    m_program.msgBox(kInvalidDirectoryText, forms::MsgButtons::OK, forms::MsgIcon::Critical,
                     "Invalid Directory");
    return false;
  }

  std::optional<platform::TextWriter> openScriptForAppending() {
    auto writer =
        platform::TextWriter::open(m_run.files(), m_scriptPath, platform::OpenMode::Append);
    if (!writer) return std::nullopt;
    return std::move(*writer);
  }

  void addScriptKey(const std::string& key) {
    if (m_script) {
      if (const platform::Status written = m_script->writeLine(key); written.failed()) {
        m_run.log().warning("script key " + key + " not written (" + RunLog::describe(written) +
                            ")");
        return;
      }
    }
    m_run.log().note("script key " + key);
  }

  void closeScript() {
    if (!m_script) return;
    platform::Status status = m_script->writeLine("");
    const platform::Status closed = m_script->close();
    if (status.ok()) status = closed;
    if (status.failed()) {
      m_run.log().warning("the capture script was not finished (" + RunLog::describe(status) +
                          ")");
    }
    m_script.reset();
  }

  void cancel(std::size_t index) {
    m_run.log().warning("the capture was cancelled before item " + std::to_string(index) +
                        ": the master command file holds the blocks written so far");
    if (m_script) platform::ignoreFailure(m_script->close(), "closing the script after a cancel");
    m_script.reset();
    m_run.closeMasterFile();
  }

  void status(const std::string& text) {
    m_run.window().Update_Status(1, text);
    m_run.log().note(text);
  }

  void addTypes(std::initializer_list<const char*> extensions) {
    forms::ListView& types = m_run.window().customTypes();
    for (const char* extension : extensions) types.add({extension, {}, false});
    m_run.window().check(MainWindow::Option::CustomTypes);
  }

  void captureItem(std::size_t index, const std::string& drivers);

  Program& m_program;
  CaptureRun m_run;
  std::string m_scriptPath;
  std::optional<platform::TextWriter> m_script;
};

void Capture::captureItem(std::size_t index, const std::string& drivers) {
  m_run.log().note("item " + std::to_string(index) + " selected");
  const auto conditionalBlock = [this](std::string_view header, const std::string& entry) {
    if (!entry.empty()) m_run.writeBlock(header, {entry});
  };
  switch (index) {
    case 0:
      addScriptKey("HKEY_CURRENT_USER\\Control Panel\\Desktop");
      addScriptKey("HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer\\Desktop\\General");
      conditionalBlock(kDesktopHeader, CaptureDesktop(m_run, drivers));
      status("Capturing Wallpaper...");
      conditionalBlock(kWallpaperHeader, CaptureWallpaper(m_run, drivers));
      status("Capturing Screen Saver...");
      conditionalBlock(kScreenSaverHeader, CaptureScreenSaver(m_run, drivers));
      CaptureDesktopFolders(m_run, drivers);
      break;
    case 1:
      conditionalBlock(kShortcutsHeader, CaptureShortcuts(m_run, drivers));
      break;
    case 2:
      status("Capturing Microsoft Office settings...");
      CaptureOffice(m_run, drivers);
      m_run.writeBlock(kOfficeSettingsHeader,
                       {drivers + "\\Office_HKCU.mig", drivers + "\\Office_HKLM.mig"});
      addScriptKey(
          "HKEY_CURRENT_USER\\AppEvents\\Schemes\\Apps\\Office97\\Office97-Reminder\\.Current");
      addScriptKey("HKEY_CURRENT_USER\\Software\\Microsoft\\Shared Tools\\Outlook");
      break;
    case 3: {
      const std::string book = CaptureAddressBook(m_run, drivers);
      m_run.writeBlock(kAddressBookHeader, {book == "Network" ? std::string(kAddressBookRegOnly)
                                                              : book,
                                            drivers + "\\PAB_HKCU.mig"});
      break;
    }
    case 5:
      status("Capturing Internet Explorer Settings...");
      CaptureIE(m_run, drivers);
      m_run.writeBlock(kIeSettingsHeader, {drivers + "\\IE_HKCU.mig"});
      addScriptKey("HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings");
      break;
    case 6:
      conditionalBlock(kNetscapeHeader, CaptureNetscape(m_run, drivers));
      break;
    case 8:
      status("Capturing Network Drives...");
      m_run.WriteMasterLine(std::string(kDrivesHeader));
      CaptureNetworkDrives(m_run);
      break;
    case 9:
      status("Capturing Adobe Settings...");
      CaptureAdobe(m_run, drivers);
      m_run.writeBlock(kAdobeSettingsHeader,
                       {drivers + "\\Adobe_HKCU.mig", drivers + "\\Adobe_HKLM.mig"});
      break;
    case 10:
      status("Capturing Visual Studio Settings...");
      CaptureVisualStudio(m_run, drivers);
      m_run.writeBlock(kVisualStudioSettingsHeader,
                       {drivers + "\\Studio_HKCU.mig", drivers + "\\Studio_HKLM.mig",
                        drivers + "\\VB_HKCU.mig", drivers + "\\VB_HKLM.mig"});
      addScriptKey("HKEY_CURRENT_USER\\Software\\Microsoft\\Visual Modeler");
      addScriptKey("HKEY_CURRENT_USER\\Software\\Microsoft\\Visual Basic 5.0");
      addScriptKey("HKEY_CURRENT_USER\\Software\\Microsoft\\Visual Basic 4.0");
      addScriptKey("HKEY_CURRENT_USER\\Software\\Microsoft\\VisualFoxPro");
      break;
    case 11:
      status("Capturing Printers...");
      m_run.WriteMasterLine(std::string(kPrintersHeader));
      CapturePrinters(m_run);
      m_run.WriteMasterLine("");
      break;
    case 12:
      status("Capturing Lotus Notes...");
      CaptureLotusNotes(m_run, m_run.migrationDir());
      break;
    case 13:
      status("Capturing Lotus SmartCenter...");
      addScriptKey("HKEY_CURRENT_USER\\Software\\Lotus\\SmartCenter");
      addTypes({"scg"});
      break;
    case 14:
      status("Capturing Lotus 123...");
      addScriptKey("HKEY_CURRENT_USER\\Software\\Lotus\\123");
      addTypes({"wt4", "wk4", "123", "12m", "wk3", "wk1"});
      break;
    case 15:
      status("Capturing Lotus Approach...");
      addScriptKey("HKEY_CURRENT_USER\\Software\\Lotus\\Approach");
      addTypes({"vew", "apr", "mpr", "apt"});
      CaptureApproachIni(m_run, m_run.migrationDir());
      break;
    case 16:
      status("Capturing Lotus Organizer...");
      addScriptKey("HKEY_CURRENT_USER\\Software\\Lotus\\Organizer");
      addTypes({"or1", "or2", "or3", "or4", "or5", "or6"});
      break;
    case 17:
      status("Capturing Macromedia Settings...");
      addScriptKey("HKEY_CURRENT_USER\\Software\\Macromedia");
      break;
    case 18:
      status("Capturing Winzip Settings...");
      addScriptKey("HKEY_CURRENT_USER\\Software\\Nico Mak Computing");
      break;
    case 19:
      status("Capturing Yahoo Messenger Settings...");
      addScriptKey("HKEY_CURRENT_USER\\Software\\Yahoo");
      break;
    case 20:
      status("Capturing Snag-It Settings...");
      addScriptKey("HKEY_CURRENT_USER\\Software\\Techsmith");
      break;
    case 21:
      status("Capturing WinRAR Settings...");
      addScriptKey("HKEY_CURRENT_USER\\Software\\WinRAR");
      break;
    case 22:
      status("Capturing Kodak Imaging Settings...");
      addScriptKey("HKEY_CURRENT_USER\\Software\\Kodak");
      break;
    default:
      break;  // items 4 and 7 capture nothing
  }
}

}  // namespace

void CaptureState(Program& program, const std::string& migrationBase, bool filesCopied) {
  std::string migrationDir = migrationBase + "\\Migration";
  // A drive root ("C:\") gives "C:\\Migration": one backslash is enough.
  if (migrationDir.size() >= 4 && migrationDir.substr(1, 3) == ":\\\\") {
    migrationDir = migrationDir.substr(0, 1) + ":\\Migration";
  }
  program.runLog().note("capture of " + program.session.strUserName + "'s settings into " +
                        migrationDir);
  Capture(program, migrationDir).run(filesCopied);
}

void RunCaptureScript(CaptureRun& run, const std::string& migrationDir) {
  run.window().Update_Status(1, "Custom Script Settings...");
  auto reader = platform::TextReader::open(run.files(), ScriptFilePath(run.program().session));
  if (!reader) {
    run.log().warning("the capture script could not be read (" +
                      RunLog::describe(reader.status()) + "): no script keys exported");
    run.window().Update_Status(1, "");
    return;
  }
  int number = 1;
  std::string line;
  while (reader->readLine(line)) {
    if (!IsRegistryEntry(line)) continue;
    const std::size_t backslash = line.find('\\');
    const std::optional<platform::HKEY> root =
        backslash == std::string::npos ? std::nullopt : scriptRoot(line.substr(0, backslash));
    if (!root) {
      run.log().warning("script entry " + line + " passed over: the registry has no such key");
      continue;
    }
    run.exportKey(*root, line.substr(backslash + 1),
                  migrationDir + "\\Drivers\\script" + std::to_string(number) + ".mig");
    ++number;
  }
  platform::ignoreFailure(reader->close(), "script.mig, read only");
  run.window().Update_Status(1, "");
}

}  // namespace migration
