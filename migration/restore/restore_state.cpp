#include "restore/restore_state.h"

#include <functional>
#include <map>

#include "context/main_window.h"
#include "context/master_file_format.h"
#include "context/master_reader.h"
#include "context/mdl_main.h"
#include "context/program.h"
#include "context/run_log.h"
#include "platform/text_encoding.h"
#include "restore/file_placement.h"
#include "restore/import_reg_file.h"
#include "restore/mdl_net_use.h"
#include "restore/printer_restore.h"

namespace migration {

namespace {

constexpr std::string_view kNetworkAddressBook = "Network";

// One pass over the master command file: each recognised header hands the lines after it to
// the routine of its section.
class SectionPass {
 public:
  SectionPass(Program& program, MasterReader& reader, RestoreReport& report)
      : m_program(program), m_reader(reader), m_report(report) {}

  void run() {
    const std::map<std::string_view, std::function<void()>> sections = {
        {kScreenSaverHeader, [this] { single("RestoreScreenSaver", RestoreScreenSaver); }},
        {kDesktopHeader, [this] { desktop(); }},
        {kOfficeSettingsHeader, [this] { imports(2); }},
        {kDrivesHeader, [this] { drives(); }},
        {kPrintersHeader, [this] { printers(); }},
        {kWallpaperHeader, [this] { single("RestoreWallpaper", RestoreWallpaper); }},
        {kNetscapeHeader, [this] { single("ImportBookmarks", ImportBookmarks); }},
        {kAddressBookHeader, [this] { addressBook(); }},
        {kShortcutsHeader, [this] { single("RestoreShortcuts", RestoreShortcuts); }},
        {kAdobeSettingsHeader, [this] { imports(2); }},
        {kVisualStudioSettingsHeader, [this] { imports(4); }},
        {kIeSettingsHeader, [this] { imports(2); }},
    };
    std::string line;
    while (m_reader.readLine(line)) {
      // Headers compare exactly, with case; anything else is passed over.
      const auto section = sections.find(line);
      if (section == sections.end()) continue;
      m_program.runLog().note("section " + line);
      section->second();
    }
  }

 private:
  std::string next() {
    std::string line;
    m_reader.readLine(line);
    return line;
  }

  void routine(const std::string& name, RoutineOutcome outcome) {
    m_report.addRoutine(name, std::move(outcome));
  }

  // One entry line naming a file, acted on when it is not empty.
  void single(const std::string& name, RoutineOutcome (*restore)(Program&, const std::string&)) {
    const std::string path = next();
    if (!path.empty()) routine(name, restore(m_program, path));
  }

  void imports(int lines) {
    for (int i = 0; i < lines; ++i) ImportRegFile(m_program, next(), m_report);
  }

  void desktop() {
    ImportRegFile(m_program, next(), m_report);
    routine("RestoreDesktopFolders", RestoreDesktopFolders(m_program));
  }

  // Entries such as "g: [\\srv\data]", whole lines (a share name may hold a comma), until an
  // empty one; an entry the file ends after is not connected.
  void drives() {
    std::string entry = next();
    while (!m_reader.atEnd() && !entry.empty()) {
      connect(entry);
      entry = next();
    }
  }

  void connect(const std::string& entry) {
    const std::string device = platform::ansiToUpper(entry.substr(0, 2));
    const std::string remote =
        platform::ansiToUpper(entry.size() > 5 ? entry.substr(4, entry.size() - 5) : "");
    platform::Network& network = m_program.machine().network();
    // The second call is the first one's retry; neither status decides anything, the drive
    // found afterwards does.
    const platform::Status first = ConnectNetDrive(network, device, remote);
    const platform::Status second = ConnectNetDrive(network, device, remote);
    m_program.runLog().note("ConnectNetDrive " + device + " " + remote + ": " +
                            RunLog::describe(first) + ", then " + RunLog::describe(second));
    RestoreReport::Item item{device + " " + remote, Arrival::Missing, {}};
    const auto drive =
        device.size() == 2 && device[1] == ':'
            ? m_program.files().drive(device[0])
            : platform::Result<platform::DriveInfo>::failure(platform::ERROR_BAD_DEVICE);
    if (drive && drive->type == platform::DriveType::Remote &&
        platform::ansiEqualNoCase(drive->remotePath, remote)) {
      item.arrival = Arrival::Arrived;
    } else {
      item.detail = RunLog::describe(first) + ", then " + RunLog::describe(second);
    }
    m_report.addDrive(std::move(item));
  }

  // Records of two fields until one with an empty name; killnovell.exe starts once per section,
  // after its first printer.
  void printers() {
    bool novellStarted = false;
    std::string name, value;
    m_reader.readRecord(name, value);
    while (!m_reader.atEnd() && !name.empty()) {
      m_report.addPrinter(RestorePrinter(m_program, name, value));
      m_reader.readRecord(name, value);
      if (!novellStarted) {
        novellStarted = true;
        const std::string command = m_program.session.strAppPath + "\\killnovell.exe";
        platform::ignoreFailure(
            m_program.machine().processes().start(command, platform::WindowStyle::Minimized,
                                                  platform::Wait::No),
            "killnovell.exe is started and forgotten; a machine without it needs none");
      }
    }
  }

  void addressBook() {
    const std::string first = next();
    if (first.empty()) return;
    if (first != kNetworkAddressBook)
      routine("RestoreAddressBook", RestoreAddressBook(m_program, first));
    ImportRegFile(m_program, next(), m_report);
  }

  Program& m_program;
  MasterReader& m_reader;
  RestoreReport& m_report;
};

}  // namespace

platform::Status RestoreState(Program& program, const std::string& masterFilePath,
                              RestoreReport& report) {
  RunLog& log = program.runLog();
  report.addRoutine("RestoreLotusNotes", RestoreLotusNotes(program, masterFilePath));
  program.session.strOS = GetEnvVar(program, "OS");

  auto reader = MasterReader::open(program.files(), masterFilePath);
  report.addRoutine("RestoreDriverSettings",
                    RestoreDriverSettings(program, masterFilePath, report));
  platform::Status opened = platform::ERROR_SUCCESS;
  if (reader) {
    SectionPass(program, *reader, report).run();
    // Only read from: nothing is lost when closing it fails.
    platform::ignoreFailure(reader->close(), "closing the master command file after reading it");
  } else {
    opened = reader.status();
    report.masterFileUnreadable(masterFilePath, opened);
  }

  report.addRoutine("RestoreFavorites", RestoreFavorites(program));
  MainWindow& window = program.mainWindow();
  if (window.isChecked(MainWindow::Option::RestoreDocuments)) {
    window.setFieldText(MainWindow::Field::RestoreFiles, "C:\\");
    window.RestoreFilesAlso();
  } else {
    log.note("RestoreFilesAlso: not asked for (Restore User Documents is clear)");
  }
  report.addRoutine("RemoveDesktopWindowsFolder", RemoveDesktopWindowsFolder(program));
  report.addRoutine("MoveMyDocuments", MoveMyDocuments(program));
  return opened;
}

}  // namespace migration
