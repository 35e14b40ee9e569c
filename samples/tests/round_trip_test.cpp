// The whole migration of each sample old machine onto its new one, run as a technician runs it:
// `migration auto` on the old machine, the user's migration folder carried over the file server,
// `migration restore` on the new machine. Then the new machine is compared with the old one
// directly, not through the program's own report: every value under every exported key, every
// archived document, the wallpaper, screen saver, desktop, favorites, printers and network drives.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "machine_opener.h"
#include "platform/printers.h"
#include "platform/registry.h"
#include "platform/text_file.h"
#include "platform/testing/temporary_machine_root.h"
#include "platform/testing/wine_prefix.h"

namespace {

namespace fs = std::filesystem;
using platform::DWORD;
using platform::HKEY;

struct Migration {
  const char* oldMachine;
  const char* newMachine;
  const char* user;
};

void PrintTo(const Migration& migration, std::ostream* out) {
  *out << migration.oldMachine << " to " << migration.newMachine;
}

struct Value {
  DWORD type = 0;
  std::string data;
};

// Key path (lower case, as the registry compares) -> value name (lower case) -> value.
using RegistryTree = std::map<std::string, std::map<std::string, Value>>;

std::string lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

std::string readHostFile(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << file.rdbuf();
  return bytes.str();
}

std::string quotedForShell(const std::string& text) {
  std::string quoted = "'";
  for (const char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

struct ProgramRun {
  int status = -1;
  std::string output;
};

// Runs a command on a machine, headless, and keeps what it printed.
ProgramRun runOn(const fs::path& prefix, const fs::path& programDir, const std::string& command) {
  const fs::path output = prefix.parent_path() / "output.txt";
  const std::string line = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM WINEPREFIX=" +
                           quotedForShell(prefix.string()) +
                           " TRANSVALE_PROGRAM_DIR=" + quotedForShell(programDir.string()) + " " +
                           command + " >" + quotedForShell(output.string()) + " 2>&1";
  const int status = std::system(line.c_str());
  ProgramRun run;
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  run.output = readHostFile(output);
  return run;
}

// The values of a key and of every key below it.
void readTree(platform::Registry& registry, HKEY root, const std::string& path, RegistryTree& tree) {
  HKEY key = 0;
  if (registry.RegOpenKeyExA(root, path.c_str(), 0, platform::KEY_READ, &key).failed()) return;
  auto& values = tree[lower(path)];
  std::vector<char> name(16384);
  std::vector<platform::BYTE> data(1 << 20);
  for (DWORD index = 0;; ++index) {
    DWORD nameLength = static_cast<DWORD>(name.size());
    DWORD dataLength = static_cast<DWORD>(data.size());
    DWORD type = 0;
    if (registry.RegEnumValueA(key, index, name.data(), &nameLength, &type, data.data(), &dataLength)
            .failed()) {
      break;
    }
    values[lower(std::string(name.data(), nameLength))] =
        Value{type, std::string(reinterpret_cast<const char*>(data.data()), dataLength)};
  }
  std::vector<std::string> subkeys;
  for (DWORD index = 0;; ++index) {
    DWORD nameLength = static_cast<DWORD>(name.size());
    if (registry.RegEnumKeyExA(key, index, name.data(), &nameLength).failed()) break;
    subkeys.emplace_back(name.data(), nameLength);
  }
  platform::ignoreFailure(registry.RegCloseKey(key), "only read from");
  for (const std::string& subkey : subkeys) readTree(registry, root, path + "\\" + subkey, tree);
}

std::string readString(platform::Registry& registry, HKEY root, const std::string& path,
                       const std::string& name) {
  HKEY key = 0;
  if (registry.RegOpenKeyExA(root, path.c_str(), 0, platform::KEY_READ, &key).failed()) return {};
  DWORD type = 0;
  DWORD size = 4096;
  std::string data(size, '\0');
  const bool read = registry
                        .RegQueryValueExA(key, name.c_str(), &type,
                                          reinterpret_cast<platform::BYTE*>(data.data()), &size)
                        .ok();
  platform::ignoreFailure(registry.RegCloseKey(key), "only read from");
  if (!read) return {};
  data.resize(size);
  while (!data.empty() && data.back() == '\0') data.pop_back();
  return data;
}

// What the capture changes on purpose: Office 8.0 keys move to 10.0, and drive paths into the
// Office directory name Office10.
std::string movedOfficeVersion(std::string text) {
  const std::string from = "office\\8.0";
  for (std::size_t at = lower(text).find(from); at != std::string::npos;
       at = lower(text).find(from, at + 11)) {
    text.replace(at, from.size(), text.substr(at, 7) + "10.0");
  }
  return text;
}

std::string movedOfficeDirectory(const std::string& text) {
  if (text.size() < 3 || text.substr(1, 2) != ":\\") return movedOfficeVersion(text);
  const std::string from = "\\Microsoft Office\\Office";
  std::string result;
  std::size_t copied = 0;
  for (std::size_t at = text.find(from); at != std::string::npos;
       at = text.find(from, at + from.size())) {
    const std::size_t end = at + from.size();
    if (end < text.size() && std::isalnum(static_cast<unsigned char>(text[end]))) continue;
    result += text.substr(copied, end - copied) + "10";
    copied = end;
  }
  return result + text.substr(copied);
}

Value expectedAfterCapture(const Value& old) {
  if (old.type != platform::REG_SZ) return old;
  const bool terminated = !old.data.empty() && old.data.back() == '\0';
  std::string text = terminated ? old.data.substr(0, old.data.size() - 1) : old.data;
  // A string kept without its final NUL travels as hex and arrives unchanged.
  if (!terminated) return old;
  return Value{old.type, movedOfficeDirectory(text) + '\0'};
}

// The registry editor ends every string it imports with a NUL.
bool sameValue(const Value& expected, const Value& actual) {
  if (expected.type != actual.type) return false;
  if (expected.data == actual.data) return true;
  const bool stringType = expected.type == 1 || expected.type == 2 || expected.type == 7;
  return stringType && actual.data == expected.data + '\0';
}

struct ExportedKey {
  HKEY root = 0;
  std::string path;
};

// The top key of each registry export the capture left in its Drivers folder.
std::vector<ExportedKey> exportedKeys(const fs::path& driversFolder) {
  std::vector<ExportedKey> keys;
  for (const auto& entry : fs::directory_iterator(driversFolder)) {
    if (!entry.is_regular_file() || entry.path().extension() != ".mig") continue;
    std::istringstream text(readHostFile(entry.path()));
    std::string line;
    std::getline(text, line);
    if (!line.starts_with("REGEDIT4")) continue;
    while (std::getline(text, line) && !line.starts_with("[")) {
    }
    const std::size_t end = line.find(']');
    if (end == std::string::npos) continue;
    const std::string name = line.substr(1, end - 1);
    const std::size_t backslash = name.find('\\');
    const std::string root = name.substr(0, backslash);
    const std::string path = backslash == std::string::npos ? "" : name.substr(backslash + 1);
    if (root == "HKEY_CURRENT_USER") keys.push_back({platform::HKEY_CURRENT_USER, path});
    if (root == "HKEY_LOCAL_MACHINE") keys.push_back({platform::HKEY_LOCAL_MACHINE, path});
    if (root == "HKEY_CLASSES_ROOT") keys.push_back({platform::HKEY_CLASSES_ROOT, path});
  }
  return keys;
}

// The names the export of a Windows 95/98 machine leaves out at every depth.
bool leftOutOnWindows9x(const std::string& keyPath) {
  for (const char* name : {"appearance", "microsoft input devices", "windowmetrics", "powercfg",
                           "desktop"}) {
    const std::string part = std::string("\\") + name;
    for (std::size_t at = keyPath.find(part); at != std::string::npos;
         at = keyPath.find(part, at + 1)) {
      const std::size_t end = at + part.size();
      if (end == keyPath.size() || keyPath[end] == '\\') return true;
    }
  }
  return false;
}

// Values that a placement step sets afresh on the new machine, after the imports.
bool setByPlacement(const std::string& keyPath, const std::string& name) {
  return keyPath == "control panel\\desktop" && (name == "wallpaper" || name == "scrnsave.exe");
}

// Every file below a folder, by its path relative to the folder (lower case) -> its bytes.
std::map<std::string, std::string> filesBelow(platform::FileSystem& files, const std::string& folder) {
  std::map<std::string, std::string> found;
  std::vector<std::string> pending{""};
  while (!pending.empty()) {
    const std::string relative = pending.back();
    pending.pop_back();
    const std::string path = relative.empty() ? folder : folder + "\\" + relative;
    auto entries = files.listFolder(path, "*");
    if (!entries) continue;
    for (const platform::DirectoryEntry& entry : *entries) {
      const std::string child = relative.empty() ? entry.name : relative + "\\" + entry.name;
      if ((entry.attributes & platform::FILE_ATTRIBUTE_DIRECTORY) != 0) {
        pending.push_back(child);
      } else if (auto bytes = platform::readWholeFile(files, folder + "\\" + child)) {
        found[lower(child)] = *bytes;
      }
    }
  }
  return found;
}

// What the user sees of a setting that names a file: the file's bytes (empty when it is not there).
std::string namedFile(platform::Machine& machine, const std::string& key, const std::string& name) {
  const std::string path = readString(machine.registry(), platform::HKEY_CURRENT_USER, key, name);
  if (path.empty()) return {};
  return platform::readWholeFile(machine.files(), path).valueOr("");
}

std::vector<std::string> printerNames(platform::Machine& machine) {
  std::vector<std::string> names;
  for (const platform::ListedPrinter& printer : machine.printers().printerList()) {
    names.push_back(lower(printer.deviceName));
  }
  std::sort(names.begin(), names.end());
  return names;
}

// Each mapped letter the profile remembers -> its share, in lower case.
std::map<std::string, std::string> networkDrives(platform::Machine& machine) {
  std::map<std::string, std::string> drives;
  RegistryTree tree;
  readTree(machine.registry(), platform::HKEY_CURRENT_USER, "Network", tree);
  for (const auto& [path, values] : tree) {
    const auto remote = values.find("remotepath");
    if (remote == values.end()) continue;
    std::string share = remote->second.data;
    while (!share.empty() && share.back() == '\0') share.pop_back();
    drives[path] = lower(share);
  }
  return drives;
}

// Where a document of the old machine lies on the new one: c:\my documents moves into the
// profile's My Documents on Windows 2000.
std::string arrivalPath(platform::Machine& machine, const std::string& path) {
  const std::string oldFolder = "c:\\my documents\\";
  if (lower(path.substr(0, oldFolder.size())) != oldFolder) return path;
  const std::string profile = machine.environment().variable("USERPROFILE").value_or("");
  return profile + "\\My Documents\\" + path.substr(oldFolder.size());
}

// The screen saver a SYSTEM.INI line SCRNSAVE.EXE=PATH names: the file's bytes.
std::string screenSaverFromIni(platform::Machine& machine) {
  const std::string windir = machine.environment().variable("windir").value_or("");
  std::istringstream ini(platform::readWholeFile(machine.files(), windir + "\\system.ini").valueOr(""));
  for (std::string line; std::getline(ini, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (lower(line).starts_with("scrnsave.exe=")) {
      return platform::readWholeFile(machine.files(), line.substr(13)).valueOr("");
    }
  }
  return {};
}

// Compares every value under every key the capture exported on the old machine with the same
// value in `other`; the number of values compared.
std::size_t compareExportedValues(platform::Registry& oldRegistry, platform::Registry& other,
                                  const fs::path& driversFolder, bool oldIsNt) {
  const std::vector<ExportedKey> keys = exportedKeys(driversFolder);
  EXPECT_FALSE(keys.empty());
  std::size_t compared = 0;
  for (const ExportedKey& key : keys) {
    RegistryTree before;
    readTree(oldRegistry, key.root, key.path, before);
    if (before.empty()) {
      // An export of Office 10.0 keys is the old machine's 8.0 keys, moved.
      std::string oldPath = key.path;
      const std::size_t at = lower(oldPath).find("office\\10.0");
      if (at != std::string::npos) oldPath.replace(at + 7, 4, "8.0");
      readTree(oldRegistry, key.root, oldPath, before);
    }
    for (const auto& [oldPath, values] : before) {
      if (!oldIsNt && leftOutOnWindows9x(oldPath)) continue;
      const std::string newPath = lower(movedOfficeVersion(oldPath));
      RegistryTree after;
      readTree(other, key.root, newPath, after);
      for (const auto& [name, value] : values) {
        if (setByPlacement(newPath, name)) continue;
        const auto& arrived = after[newPath];
        const auto found = arrived.find(name);
        if (found == arrived.end()) {
          ADD_FAILURE() << newPath << " \"" << name << "\" is missing";
          continue;
        }
        EXPECT_TRUE(sameValue(expectedAfterCapture(value), found->second))
            << newPath << " \"" << name << "\": type " << found->second.type << ", "
            << found->second.data.size() << " bytes, expected type " << value.type;
        ++compared;
      }
    }
  }
  return compared;
}

class RoundTrip : public ::testing::TestWithParam<Migration> {
 protected:
  void SetUp() override {
    m_oldPrefix = m_root.path() / "old";
    m_newPrefix = m_root.path() / "new";
    m_share = m_root.path() / "share";
    m_program = m_root.path() / "program";
    fs::create_directories(m_share);
    fs::create_directories(m_program);
    for (const char* name : {"CONFIG.MIG", "printlist.txt", "printers.log"}) {
      fs::copy_file(fs::path(TRANSVALE_SAMPLES_DIR) / "program" / name, m_program / name);
    }
    materialise(GetParam().oldMachine, m_oldPrefix);
    materialise(GetParam().newMachine, m_newPrefix);
  }

  void materialise(const std::string& sample, const fs::path& prefix) {
    const std::string command = quotedForShell(TRANSVALE_SIMWIN) + " materialise --share " +
                                quotedForShell("\\\\fileserver\\migrate=" + m_share.string()) +
                                " " +
                                quotedForShell((fs::path(TRANSVALE_SAMPLES_DIR) / sample).string()) +
                                " " + quotedForShell(prefix.string()) + " >/dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
  }

  void exportOld() {
    ASSERT_EQ(runOn(m_oldPrefix, m_program, quotedForShell(TRANSVALE_PARCELON_TOOL) + " --register")
                  .status,
              0);
    fs::create_directories(m_oldPrefix / "drive_c" / "migrate");
    const ProgramRun exported =
        runOn(m_oldPrefix, m_program, quotedForShell(TRANSVALE_MIGRATION) + " auto");
    ASSERT_EQ(exported.status, 0) << exported.output;
  }

  // Exports on the old machine, carries the user's folder over the share, restores on the new.
  void migrate() {
    exportOld();
    if (HasFatalFailure()) return;
    const std::string user = GetParam().user;
    fs::copy(m_oldPrefix / "drive_c" / "migrate" / user, m_share / user,
             fs::copy_options::recursive);
    fs::create_directories(m_newPrefix / "drive_c" / "migrate");
    fs::copy(m_share / user, m_newPrefix / "drive_c" / "migrate" / user,
             fs::copy_options::recursive);
    ASSERT_EQ(runOn(m_newPrefix, m_program, quotedForShell(TRANSVALE_PARCELON_TOOL) + " --register")
                  .status,
              0);
    m_restore = runOn(m_newPrefix, m_program, quotedForShell(TRANSVALE_MIGRATION) + " restore");
    ASSERT_EQ(m_restore.status, 0) << m_restore.output;
  }

  fs::path migrationFolder() const {
    return m_oldPrefix / "drive_c" / "migrate" / GetParam().user / "Migration";
  }

  platform::testing::TemporaryMachineRoot m_root;
  fs::path m_oldPrefix, m_newPrefix, m_share, m_program;
  ProgramRun m_restore;
};

TEST_P(RoundTrip, EverythingCapturedArrives) {
  migrate();
  if (HasFatalFailure()) return;
  auto oldMachine = platform::openNativeMachine(m_oldPrefix);
  auto newMachine = platform::openNativeMachine(m_newPrefix);
  ASSERT_TRUE(oldMachine && newMachine);
  platform::Registry& oldRegistry = (*oldMachine)->registry();
  platform::Registry& newRegistry = (*newMachine)->registry();
  const bool oldIsNt = (*oldMachine)->environment().variable("OS").value_or("") == "Windows_NT";

  // Every value under every exported key, with the same type and bytes.
  const std::size_t compared =
      compareExportedValues(oldRegistry, newRegistry, migrationFolder() / "Drivers", oldIsNt);
  EXPECT_GT(compared, 100u);

  // Every archived document, byte for byte, where it lay on the old machine.
  platform::FileSystem& oldFiles = (*oldMachine)->files();
  platform::FileSystem& newFiles = (*newMachine)->files();
  const std::string log = readHostFile(migrationFolder() / "migrate.log");
  std::istringstream lines(log);
  std::size_t documents = 0;
  for (std::string line; std::getline(lines, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.starts_with("archived ")) continue;
    const std::string path = line.substr(9);
    const auto before = platform::readWholeFile(oldFiles, path);
    const auto after = platform::readWholeFile(newFiles, arrivalPath(**newMachine, path));
    ASSERT_TRUE(before) << path;
    ASSERT_TRUE(after) << path << " did not arrive";
    EXPECT_EQ(*before, *after) << path;
    ++documents;
  }
  EXPECT_GT(documents, 5u);

  // The wallpaper and the screen saver are the old machine's files.
  platform::Machine& before = **oldMachine;
  platform::Machine& after = **newMachine;
  for (const char* setting : {"Wallpaper", "SCRNSAVE.EXE"}) {
    std::string old = namedFile(before, "Control Panel\\Desktop", setting);
    // Windows 98 says "(None)" here and names its screen saver in SYSTEM.INI.
    if (old.empty() && std::string(setting) == "SCRNSAVE.EXE") old = screenSaverFromIni(before);
    ASSERT_FALSE(old.empty()) << setting << " of the old machine";
    EXPECT_EQ(namedFile(after, "Control Panel\\Desktop", setting), old) << setting;
  }

  // The desktop's files and folders, and the favorites with their folders, are all there.
  const std::string shellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
  const std::string profile = after.environment().variable("USERPROFILE").value_or("");
  ASSERT_FALSE(profile.empty());
  for (const char* folder : {"Desktop", "Favorites"}) {
    const std::string oldFolder =
        readString(before.registry(), platform::HKEY_CURRENT_USER, shellFolders, folder);
    const auto oldFiles = filesBelow(before.files(), oldFolder);
    const auto newFiles = filesBelow(after.files(), profile + "\\" + folder);
    EXPECT_FALSE(oldFiles.empty()) << oldFolder;
    for (const auto& [name, bytes] : oldFiles) {
      const auto found = newFiles.find(name);
      ASSERT_NE(found, newFiles.end()) << folder << "\\" << name << " did not arrive";
      EXPECT_EQ(found->second, bytes) << folder << "\\" << name;
    }
  }

  // As many printers as before, the connections by their names; the same network drives.
  const std::vector<std::string> oldPrinters = printerNames(before);
  const std::vector<std::string> newPrinters = printerNames(after);
  EXPECT_EQ(newPrinters.size(), oldPrinters.size());
  for (const std::string& name : oldPrinters) {
    if (!name.starts_with("\\\\")) continue;
    EXPECT_NE(std::find(newPrinters.begin(), newPrinters.end(), name), newPrinters.end()) << name;
  }
  EXPECT_FALSE(networkDrives(before).empty());
  EXPECT_EQ(networkDrives(after), networkDrives(before));
}

// Every export of the sample, imported by Wine's registry editor into a fresh Wine prefix, reads
// back as the old machine had it. Skipped where Wine is not installed.
TEST_P(RoundTrip, EveryExportImportsThroughWinesRegistryEditor) {
  platform::testing::WinePrefix wine;
  if (!wine.installed()) GTEST_SKIP() << "Wine is not installed: no wine or wine64 program";
  ASSERT_TRUE(wine.ready()) << "wineboot made no prefix:\n" << wine.bootOutput();
  exportOld();
  if (HasFatalFailure()) return;
  wine.keepServer();
  for (const auto& entry : fs::directory_iterator(migrationFolder() / "Drivers")) {
    if (entry.path().extension() != ".mig") continue;
    if (!readHostFile(entry.path()).starts_with("REGEDIT4")) continue;
    wine.wine({"regedit", "/s", entry.path().string()});
  }
  wine.stopServer();
  auto oldMachine = platform::openNativeMachine(m_oldPrefix);
  ASSERT_TRUE(oldMachine);
  const bool oldIsNt = (*oldMachine)->environment().variable("OS").value_or("") == "Windows_NT";
  const auto wineRegistry = wine.registry();
  EXPECT_GT(compareExportedValues((*oldMachine)->registry(), *wineRegistry,
                                  migrationFolder() / "Drivers", oldIsNt),
            100u);
}

const Migration kMigrations[] = {
    {"old-win2000", "new-win2000", "jsmith"},
    {"old-win98", "new-win2000-2", "mary"},
};

INSTANTIATE_TEST_SUITE_P(Samples, RoundTrip, ::testing::ValuesIn(kMigrations),
                         [](const auto& info) {
                           std::string name = info.param.oldMachine;
                           std::replace(name.begin(), name.end(), '-', '_');
                           return name;
                         });

}  // namespace
