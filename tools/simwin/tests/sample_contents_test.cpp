// What the sample machines hold: something real for every item of the settings list on the old
// machines, read back the way the capture reads it, and on the new machines what the restore
// needs to put it back.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <set>
#include <sstream>

#include "native_machine.h"
#include "net_command.h"
#include "platform/clock.h"
#include "platform/testing/temporary_machine_root.h"
#include "platform/text_file.h"
#include "printers_command.h"
#include "registry_values.h"
#include "sample_materialiser.h"

namespace simwin {
namespace {

namespace fs = std::filesystem;
using namespace platform;

const fs::path kSamples = TRANSVALE_SAMPLES_DIR;

// A sample made into a machine in a temporary folder.
class MadeSample {
 public:
  explicit MadeSample(const std::string& name) {
    auto made = materialiseSample(kSamples / name, m_folder.path() / name);
    if (!made) throw std::runtime_error(made.subject());
    m_machine = std::make_unique<NativeMachine>(m_folder.path() / name, m_clock, "Z:\\tools");
  }
  NativeMachine& machine() { return *m_machine; }
  Registry& registry() { return m_machine->registry(); }
  FileSystem& files() { return m_machine->files(); }

 private:
  platform::testing::TemporaryMachineRoot m_folder;
  VirtualClock m_clock;
  std::unique_ptr<NativeMachine> m_machine;
};

// "HKCU\key" (a key with values or sub-keys), "HKLM\key>value" (a value), or a Windows path.
bool holds(MadeSample& sample, const std::string& thing) {
  const bool user = thing.rfind("HKCU\\", 0) == 0;
  if (!user && thing.rfind("HKLM\\", 0) != 0) {
    return sample.files().fileExists(thing) || sample.files().folderExists(thing);
  }
  const HKEY root = user ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
  const std::size_t arrow = thing.find('>');
  const std::string key = thing.substr(5, arrow == std::string::npos ? arrow : arrow - 5);
  HKEY handle = 0;
  if (sample.registry().RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &handle).failed())
    return false;
  Status status = ERROR_SUCCESS;
  if (arrow != std::string::npos) {
    status = sample.registry().RegQueryValueExA(handle, thing.substr(arrow + 1).c_str(), nullptr,
                                                nullptr, nullptr);
  } else {
    char name[256];
    DWORD length = sizeof name;
    status = sample.registry().RegEnumKeyExA(handle, 0, name, &length);
    length = sizeof name;
    if (status.failed()) {
      status = sample.registry().RegEnumValueA(handle, 0, name, &length, nullptr, nullptr, nullptr);
    }
  }
  ignoreFailure(sample.registry().RegCloseKey(handle), "a key opened for reading");
  return status.ok() || status == ERROR_MORE_DATA;
}

std::string text(MadeSample& sample, HKEY root, const std::string& key, const std::string& name) {
  return readStringValue(sample.registry(), root, key, name).value_or("<none>");
}

// "old-win98" as a test name: old_win98.
std::string testName(std::string sample) {
  std::replace(sample.begin(), sample.end(), '-', '_');
  return sample;
}

struct Holding {
  int item;  // in the settings list; -1 for what every capture takes
  const char* win2000;
  const char* win98;
};

// Where each item of the settings list finds something on each old machine.
const Holding kHoldings[] = {
    {-1, "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RecentDocs",
     "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RecentDocs"},
    {-1, "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU",
     "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU"},
    {0, "HKCU\\Control Panel\\Colors", "HKCU\\Control Panel\\Colors"},
    {0, "HKCU\\Control Panel\\Appearance", "HKCU\\Control Panel\\Appearance"},
    {0, "HKCU\\Control Panel\\Desktop\\WindowMetrics",
     "HKCU\\Control Panel\\Desktop\\WindowMetrics"},
    {0, "HKCU\\Control Panel\\PowerCfg", "HKCU\\Control Panel\\PowerCfg"},
    {0, "HKCU\\Control Panel\\Microsoft Input Devices",
     "HKCU\\Control Panel\\Microsoft Input Devices"},
    {0, "HKCU\\Software\\Microsoft\\Internet Explorer\\Desktop\\General",
     "HKCU\\Software\\Microsoft\\Internet Explorer\\Desktop\\General"},
    {2, "HKCU\\Software\\Microsoft\\Office\\8.0\\Word\\Options>PICTURE-PATH",
     "HKCU\\Software\\Microsoft\\Office\\8.0\\Word\\Options>PICTURE-PATH"},
    {2, "HKCU\\Software\\Microsoft\\Office\\8.0\\Office\\Shortcut Bar\\QuickShelf",
     "HKCU\\Software\\Microsoft\\Office\\8.0\\Office\\Shortcut Bar\\QuickShelf"},
    {2, "HKLM\\Software\\Microsoft\\Office\\8.0\\Common\\InstallRoot>Path",
     "HKLM\\Software\\Microsoft\\Office\\8.0\\Common\\InstallRoot>Path"},
    {2, "HKCU\\AppEvents\\Schemes\\Apps\\Office97\\Office97-Reminder\\.Current>",
     "HKCU\\AppEvents\\Schemes\\Apps\\Office97\\Office97-Reminder\\.Current>"},
    {2, "HKCU\\Software\\Microsoft\\Shared Tools\\Outlook",
     "HKCU\\Software\\Microsoft\\Shared Tools\\Outlook"},
    {3,
     "HKCU\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows Messaging "
     "Subsystem\\Profiles\\jsmith",
     "HKCU\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows Messaging "
     "Subsystem\\Profiles\\mary"},
    {3, "C:\\WINNT\\mailbox.pab", "C:\\WINDOWS\\mary.pab"},
    {5, "HKCU\\Software\\Microsoft\\Internet Explorer\\Main",
     "HKCU\\Software\\Microsoft\\Internet Explorer\\Main"},
    {5, "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings",
     "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings"},
    {6, "HKCU\\Software\\Netscape\\Netscape Navigator\\Biff>CurrentUser",
     "HKCU\\Software\\Netscape\\Netscape Navigator\\Biff>CurrentUser"},
    {8, "HKCU\\Network\\F>RemotePath", "HKCU\\Network\\H>RemotePath"},
    {9, "HKCU\\Software\\Adobe", "HKCU\\Software\\Adobe"},
    {9, "HKLM\\Software\\Adobe", "HKLM\\Software\\Adobe"},
    {10, "HKCU\\Software\\Microsoft\\VisualStudio", "HKCU\\Software\\Microsoft\\VisualStudio"},
    {10, "HKLM\\Software\\Microsoft\\VisualStudio", "HKLM\\Software\\Microsoft\\VisualStudio"},
    {10, "HKCU\\Software\\Microsoft\\Visual Basic", "HKCU\\Software\\Microsoft\\Visual Basic"},
    {10, "HKLM\\Software\\Microsoft\\Visual Basic", "HKLM\\Software\\Microsoft\\Visual Basic"},
    {10, "HKCU\\Software\\Microsoft\\Visual Modeler", "HKCU\\Software\\Microsoft\\Visual Modeler"},
    {10, "HKCU\\Software\\Microsoft\\Visual Basic 5.0",
     "HKCU\\Software\\Microsoft\\Visual Basic 4.0"},
    {10, "HKCU\\Software\\Microsoft\\VisualFoxPro", "HKCU\\Software\\Microsoft\\VisualFoxPro"},
    {13, "HKCU\\Software\\Lotus\\SmartCenter", "HKCU\\Software\\Lotus\\SmartCenter"},
    {14, "HKCU\\Software\\Lotus\\123", "HKCU\\Software\\Lotus\\123"},
    {15, "HKCU\\Software\\Lotus\\Approach", "HKCU\\Software\\Lotus\\Approach"},
    {15, "C:\\WINNT\\approach.ini", "C:\\WINDOWS\\approach.ini"},
    {16, "HKCU\\Software\\Lotus\\Organizer", "HKCU\\Software\\Lotus\\Organizer"},
    {17, "HKCU\\Software\\Macromedia", "HKCU\\Software\\Macromedia"},
    {18, "HKCU\\Software\\Nico Mak Computing", "HKCU\\Software\\Nico Mak Computing"},
    {19, "HKCU\\Software\\Yahoo", "HKCU\\Software\\Yahoo"},
    {20, "HKCU\\Software\\Techsmith", "HKCU\\Software\\Techsmith"},
    {21, "HKCU\\Software\\WinRAR", "HKCU\\Software\\WinRAR"},
    {22, "HKCU\\Software\\Kodak", "HKCU\\Software\\Kodak"},
};

// The facts of an old machine that the capture steps follow to files.
struct OldMachine {
  const char* name;
  const char* user;
  const char* windir;
  const char* desktop;  // where the shortcuts step finds the desktop's files
  bool screenSaverInRegistry;
  const char* networkDrive;  // letter mapped to a share, remembered in HKCU\Network
  const char* localPrinter;
  const char* localDriver;
  const char* connection;
};

void PrintTo(const OldMachine& machine, std::ostream* out) { *out << machine.name; }

class OldSample : public ::testing::TestWithParam<OldMachine> {
 protected:
  static void SetUpTestSuite() {
    for (const char* name : {"old-win2000", "old-win98"})
      made()[name] = std::make_unique<MadeSample>(name);
  }
  static void TearDownTestSuite() { made().clear(); }
  static std::map<std::string, std::unique_ptr<MadeSample>>& made() {
    static std::map<std::string, std::unique_ptr<MadeSample>> samples;
    return samples;
  }
  MadeSample& sample() { return *made().at(GetParam().name); }
};

TEST_P(OldSample, HoldsSomethingForEveryItemOfTheSettingsList) {
  const bool win98 = std::string(GetParam().name) == "old-win98";
  std::set<int> items;
  for (const Holding& holding : kHoldings) {
    const char* thing = win98 ? holding.win98 : holding.win2000;
    EXPECT_TRUE(holds(sample(), thing)) << thing;
    items.insert(holding.item);
  }
  // Item 1 (desktop files), 4 and 7 (nothing to take), 11 (printers) and 12 (Lotus Notes) are
  // checked below; the table covers every other item.
  for (int item = 0; item <= 22; ++item) {
    if (item != 1 && item != 4 && item != 7 && item != 11 && item != 12) {
      EXPECT_TRUE(items.count(item)) << "item " << item;
    }
  }
}

TEST_P(OldSample, SettingsNameFilesThatExist) {
  const OldMachine& m = GetParam();
  MadeSample& s = sample();
  EXPECT_EQ(s.machine().environment().userName().valueOr(""), m.user);
  const std::string desktopKey = "Control Panel\\Desktop";
  EXPECT_TRUE(s.files().fileExists(text(s, HKEY_CURRENT_USER, desktopKey, "Wallpaper")));

  const std::string screenSaver = text(s, HKEY_CURRENT_USER, desktopKey, "SCRNSAVE.EXE");
  if (m.screenSaverInRegistry) {
    EXPECT_TRUE(s.files().fileExists(screenSaver)) << screenSaver;
  } else {
    EXPECT_EQ(screenSaver, "(None)");
    const std::string ini =
        readWholeFile(s.files(), std::string(m.windir) + "\\system.ini").valueOr("");
    const std::size_t line = ini.find("\r\nSCRNSAVE.EXE=");
    ASSERT_NE(line, std::string::npos);
    const std::string named = ini.substr(line + 15, ini.find('\r', line + 2) - line - 15);
    EXPECT_TRUE(s.files().fileExists(named)) << named;
  }

  // The shortcuts step takes the desktop's files only when there are two or more.
  const auto desktop = s.files().listFolder(m.desktop);
  ASSERT_TRUE(desktop.ok());
  int files = 0, folders = 0;
  for (const DirectoryEntry& entry : *desktop) {
    ((entry.attributes & FILE_ATTRIBUTE_DIRECTORY) ? folders : files) += 1;
  }
  EXPECT_GE(files, 2);
  EXPECT_GE(folders, 1);

  const std::string favorites =
      text(s, HKEY_CURRENT_USER,
           "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", "Favorites");
  int nested = 0;
  for (const DirectoryEntry& folder : s.files().listFolder(favorites).valueOr({})) {
    if (!(folder.attributes & FILE_ATTRIBUTE_DIRECTORY)) continue;
    for (const DirectoryEntry& inner :
         s.files().listFolder(favorites + "\\" + folder.name).valueOr({})) {
      nested += (inner.attributes & FILE_ATTRIBUTE_DIRECTORY) ? 1 : 0;
    }
  }
  EXPECT_GE(nested, 1) << favorites;
  EXPECT_FALSE(s.files().listFolder(favorites, "*.url").valueOr({}).empty());
}

TEST_P(OldSample, NetscapeAndLotusFilesLieWhereTheCaptureLooks) {
  const OldMachine& m = GetParam();
  MadeSample& s = sample();
  // The first of the user's, the default and the Biff profile's bookmark file.
  const std::string users = "C:\\Program Files\\Netscape\\Users\\";
  const std::string biff =
      text(s, HKEY_CURRENT_USER, "Software\\Netscape\\Netscape Navigator\\Biff", "CurrentUser");
  std::string bookmarks;
  for (const std::string& profile : {std::string(m.user), std::string("default"), biff}) {
    bookmarks = readWholeFile(s.files(), users + profile + "\\bookmark.htm").valueOr("");
    if (!bookmarks.empty()) break;
  }
  EXPECT_NE(bookmarks.find("<H3"), bookmarks.rfind("<H3")) << "two folders or more";
  EXPECT_NE(bookmarks.find("&amp;"), std::string::npos);

  // Notes: the program path and data path are joined to names without a backslash.
  const std::string notes = "Software\\Lotus\\Notes";
  const std::string program = text(s, HKEY_LOCAL_MACHINE, notes, "Path");
  const std::string data = text(s, HKEY_LOCAL_MACHINE, notes, "DataPath");
  EXPECT_TRUE(s.files().fileExists(program + "notes.ini")) << program;
  for (const char* pattern : {"*.nsf", "*.ntf", "*.dsk", "*.nbf", "*.id", "*.njf"}) {
    const std::size_t end = data.find_last_of('\\') + 1;
    EXPECT_FALSE(s.files().listFolder(data.substr(0, end), pattern).valueOr({}).empty())
        << data << pattern;
  }
}

TEST_P(OldSample, SimwinShowsTheDriveAndThePrinters) {
  const OldMachine& m = GetParam();
  MadeSample& s = sample();
  std::ostringstream out, err;
  ASSERT_EQ(runNetCommand(s.machine(), {"use"}, out, err), 0);
  const std::string letter = m.networkDrive;
  const std::string remote =
      text(s, HKEY_CURRENT_USER, "Network\\" + letter.substr(0, 1), "RemotePath");
  EXPECT_NE(out.str().find("OK           " + letter + "     " + remote), std::string::npos)
      << out.str();
  EXPECT_EQ(s.files().drive(letter[0])->remotePath, remote);

  out.str("");
  ASSERT_EQ(runPrintersCommand(s.machine(), {}, out, err), 0);
  EXPECT_NE(out.str().find("  " + std::string(m.localPrinter) + " = " + m.localDriver + "\n"),
            std::string::npos)
      << out.str();
  EXPECT_NE(out.str().find("  " + std::string(m.connection) + " = " + m.connection + "\n"),
            std::string::npos)
      << out.str();
  // The printer capture takes a local printer by its driver when printlist.txt lists it.
  std::ifstream list(kSamples / "program" / "printlist.txt", std::ios::binary);
  std::stringstream listed;
  listed << list.rdbuf();
  EXPECT_NE(listed.str().find(m.localDriver), std::string::npos);
}

// Values of every type, one longer than 1,024 bytes and one whose name is longer than 1,024
// characters, where the Adobe step exports them; the registry hands them out whole.
TEST_P(OldSample, EveryRegistryTypeLoadsBack) {
  Registry& registry = sample().registry();
  HKEY key = 0;
  ASSERT_EQ(
      registry.RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Adobe\\Acrobat Reader\\4.0\\AVGeneral",
                             0, KEY_READ, &key),
      ERROR_SUCCESS);
  std::set<DWORD> types;
  std::size_t longestName = 0, longestData = 0;
  for (DWORD index = 0;; ++index) {
    std::string name(4096, '\0');
    std::vector<BYTE> data(4096);
    DWORD nameLength = static_cast<DWORD>(name.size());
    DWORD dataLength = static_cast<DWORD>(data.size());
    DWORD type = 0;
    const Status status = registry.RegEnumValueA(key, index, name.data(), &nameLength, &type,
                                                 data.data(), &dataLength);
    if (status == ERROR_NO_MORE_ITEMS) break;
    ASSERT_EQ(status, ERROR_SUCCESS) << index;
    types.insert(type);
    longestName = std::max<std::size_t>(longestName, nameLength);
    longestData = std::max<std::size_t>(longestData, dataLength);
  }
  EXPECT_EQ(types,
            (std::set<DWORD>{REG_NONE, REG_SZ, REG_EXPAND_SZ, REG_BINARY, REG_DWORD,
                             REG_DWORD_BIG_ENDIAN, REG_LINK, REG_MULTI_SZ, REG_QWORD, 0x1234}));
  EXPECT_GT(longestName, 1024u);
  EXPECT_GT(longestData, 1024u);

  // A 1,024-byte buffer is too small for the long value, and the size needed comes back.
  BYTE small[1024];
  DWORD size = sizeof small;
  EXPECT_EQ(registry.RegQueryValueExA(key, "aViewState", nullptr, small, &size), ERROR_MORE_DATA);
  EXPECT_EQ(size, 1536u);
  DWORD type = 0;
  std::vector<BYTE> multi(512);
  size = static_cast<DWORD>(multi.size());
  ASSERT_EQ(registry.RegQueryValueExA(key, "aRecentFiles", &type, multi.data(), &size),
            ERROR_SUCCESS);
  EXPECT_EQ(type, REG_MULTI_SZ);
  EXPECT_EQ(std::count(multi.begin(), multi.begin() + size, 0), 4) << "three strings and the end";
  ignoreFailure(registry.RegCloseKey(key), "a key opened for reading");
}

INSTANTIATE_TEST_SUITE_P(
    Samples, OldSample,
    ::testing::Values(OldMachine{"old-win2000", "jsmith", "C:\\WINNT",
                                 "C:\\Documents and Settings\\jsmith\\Desktop", true,
                                 "F:", "HP LaserJet 4050 Series PCL",
                                 "HP LaserJet 4050 Series PCL 6", "\\\\PRNSRV\\Laser1"},
                      OldMachine{"old-win98", "mary", "C:\\WINDOWS", "C:\\WINDOWS\\Desktop", false,
                                 "H:", "Lexmark Optra E+", "Lexmark Optra E+",
                                 "\\\\PRNSRV\\Inkjet"}),
    [](const auto& info) { return testName(info.param.name); });

// Each old machine and the new machine that receives its user.
struct Move {
  const char* from;
  const char* to;
  const char* model;  // what the restore installs the local printer as
  const char* connection;
  const char* drive;
};

void PrintTo(const Move& move, std::ostream* out) { *out << move.from << " to " << move.to; }

class NewSample : public ::testing::TestWithParam<Move> {};

TEST_P(NewSample, ReceivesTheUserThePrintersAndTheDrive) {
  const Move& move = GetParam();
  MadeSample old(move.from);
  MadeSample fresh(move.to);
  EXPECT_EQ(fresh.machine().environment().userName().valueOr(""),
            old.machine().environment().userName().valueOr("?"));
  EXPECT_EQ(fresh.machine().environment().variable("OS"), "Windows_NT");
  // Fresh from the installer: no Office or Lotus, no printers, no mapped drives.
  for (const char* thing :
       {"HKCU\\Software\\Microsoft\\Office", "HKLM\\Software\\Microsoft\\Office",
        "HKCU\\Software\\Lotus", "HKLM\\Software\\Lotus", "HKCU\\Network"}) {
    EXPECT_FALSE(holds(fresh, thing)) << thing;
  }
  EXPECT_TRUE(fresh.machine().printers().printerList().empty());
  const std::string shellFolders =
      "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
  for (const char* folder : {"Desktop", "Personal", "Favorites"}) {
    EXPECT_TRUE(fresh.files().folderExists(text(fresh, HKEY_CURRENT_USER, shellFolders, folder)))
        << folder;
  }
  const std::string favorites = text(fresh, HKEY_CURRENT_USER, shellFolders, "Favorites");
  EXPECT_TRUE(fresh.files().folderExists(favorites + "\\Links"));
  EXPECT_TRUE(fresh.files().folderExists(favorites + "\\Media"));
  EXPECT_TRUE(fresh.files().folderExists("\\\\fileserver\\migrate"));

  // What the restore starts for the old machine's printers succeeds.
  const std::string install =
      "rundll32 printui.dll, PrintUIEntry /if /b \"" + std::string(move.model) +
      "\" /f C:\\WINNT\\inf\\ntprint.inf /r \"LPT1:\" /m \"" + move.model + "\"";
  for (const std::string& line : {"con2prt /c " + std::string(move.connection), install}) {
    auto outcome = fresh.machine().processes().start(line, WindowStyle::Hidden, Wait::Yes);
    ASSERT_TRUE(outcome.ok()) << line;
    EXPECT_EQ(outcome->exitCode, 0u) << line;
  }
  EXPECT_EQ(fresh.machine().printers().printerList().size(), 2u);

  // And so does the mapping of the old machine's drive.
  const std::string letter(1, move.drive[0]);
  const std::string remote = text(old, HKEY_CURRENT_USER, "Network\\" + letter, "RemotePath");
  NETRESOURCEA resource;
  resource.dwType = RESOURCETYPE_DISK;
  std::string local = letter + ":";
  resource.lpLocalName = local.data();
  resource.lpRemoteName = const_cast<char*>(remote.c_str());
  EXPECT_EQ(fresh.machine().network().WNetAddConnection2A(&resource, nullptr, nullptr,
                                                          CONNECT_UPDATE_PROFILE),
            ERROR_SUCCESS)
      << remote;
}

INSTANTIATE_TEST_SUITE_P(
    Samples, NewSample,
    ::testing::Values(Move{"old-win2000", "new-win2000", "HP LaserJet 4050 Series PCL",
                           "\\\\PRNSRV\\Laser1", "F:"},
                      Move{"old-win98", "new-win2000-2", "Lexmark Optra E+ (MS)",
                           "\\\\PRNSRV\\Inkjet", "H:"}),
    [](const auto& info) { return testName(info.param.to); });

}  // namespace
}  // namespace simwin
