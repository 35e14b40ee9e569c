// The test machine of the Windows build: the Windows (under Wine, the Wine prefix) the tests run
// on. Each suite runs in a machine of its own (scripts/test-win32.sh gives every suite a fresh
// prefix); within it, a test machine puts back what tests leave behind: what appeared in the root
// of drive C: and the keys that appeared at the top of the registry's usual places go when the
// test machine goes. The logged-on user is the options' one, as the program sees it through the
// machine's environment. Shares, links and the host's other drives are the simulated machine's
// work: a test that asks for them (or for a further drive) fails here, so it belongs to the native suites.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "platform/testing/test_machine.h"
#include "platform/text_encoding.h"
#include "registry_values.h"
#include "win32_machine.h"

namespace platform::testing {
namespace {

// The places whose new sub-keys a test machine removes again.
struct WatchedKey {
  HKEY root;
  const char* path;
};
constexpr WatchedKey kWatchedKeys[] = {
    {HKEY_CURRENT_USER, ""},
    {HKEY_CURRENT_USER, "Software"},
    {HKEY_LOCAL_MACHINE, "Software"},
    {HKEY_LOCAL_MACHINE, "Software\\Classes"},
};

// The machine's environment with the logged-on user of the test.
class TestEnvironment final : public Environment {
 public:
  TestEnvironment(Environment& machine, std::string userName)
      : m_machine(machine), m_userName(std::move(userName)) {}

  std::optional<std::string> variable(const std::string& name) override {
    if (ansiToUpper(name) == "USERNAME") {
      return m_userName.empty() ? std::nullopt : std::optional<std::string>(m_userName);
    }
    return m_machine.variable(name);
  }
  std::map<std::string, std::string> variables() override {
    auto all = m_machine.variables();
    std::erase_if(all, [](const auto& entry) { return ansiToUpper(entry.first) == "USERNAME"; });
    if (!m_userName.empty()) all["USERNAME"] = m_userName;
    return all;
  }
  Result<std::string> userName() override {
    if (m_userName.empty()) return Result<std::string>::failure(Status(ERROR_NOT_FOUND));
    return m_userName;
  }

 private:
  Environment& m_machine;
  std::string m_userName;
};

// The Win32 machine with the test's clock, program directory and user.
class TestWin32Machine final : public Machine {
 public:
  TestWin32Machine(Clock& clock, const std::string& programDirectory, const std::string& userName)
      : m_machine(clock, programDirectory), m_environment(m_machine.environment(), userName) {}

  FileSystem& files() override { return m_machine.files(); }
  Registry& registry() override { return m_machine.registry(); }
  Environment& environment() override { return m_environment; }
  Processes& processes() override { return m_machine.processes(); }
  Clock& clock() override { return m_machine.clock(); }
  Printers& printers() override { return m_machine.printers(); }
  Network& network() override { return m_machine.network(); }
  SystemParameters& systemParameters() override { return m_machine.systemParameters(); }
  ShellUIHelper& shellUIHelper() override { return m_machine.shellUIHelper(); }
  std::string programDirectory() override { return m_machine.programDirectory(); }
  LibraryLoader* libraryLoader() override { return m_machine.libraryLoader(); }
  ThreadService* threads() override { return m_machine.threads(); }

 private:
  Win32Machine m_machine;
  TestEnvironment m_environment;
};

std::set<std::string> rootEntries(FileSystem& files) {
  std::set<std::string> names;
  if (auto entries = files.listFolder("C:\\", "*")) {
    for (const DirectoryEntry& entry : *entries) names.insert(ansiToUpper(entry.name));
  }
  return names;
}

std::set<std::string> keyNames(Registry& registry, const WatchedKey& key) {
  std::set<std::string> names;
  for (const std::string& name : subKeyNames(registry, key.root, key.path)) {
    names.insert(ansiToUpper(name));
  }
  return names;
}

}  // namespace

struct TestMachine::Disk {
  Options options;
  std::set<std::string> rootBefore;
  std::vector<std::set<std::string>> keysBefore;
};

TestMachine::TestMachine() : TestMachine(Options{}) {}

TestMachine::TestMachine(Options options) : m_disk(std::make_unique<Disk>()) {
  m_disk->options = options;
  m_machine = std::make_unique<TestWin32Machine>(m_clock, options.programDirectory,
                                                 options.userName);
  m_disk->rootBefore = rootEntries(files());
  for (const WatchedKey& key : kWatchedKeys) m_disk->keysBefore.push_back(keyNames(registry(), key));
  const std::string& program = options.programDirectory;
  if (program.size() > 3 && (program[0] == 'C' || program[0] == 'c') && program[1] == ':') {
    writeFile(program + "\\.keep", "");
    EXPECT_EQ(files().deleteFile(program + "\\.keep", Force::Yes), ERROR_SUCCESS);
  }
}

TestMachine::~TestMachine() {
  if (auto entries = files().listFolder("C:\\", "*")) {
    for (const DirectoryEntry& entry : *entries) {
      if (m_disk->rootBefore.count(ansiToUpper(entry.name)) != 0) continue;
      const std::string path = "C:\\" + entry.name;
      const bool folder = (entry.attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
      EXPECT_EQ(folder ? files().deleteFolder(path, Force::Yes) : files().deleteFile(path, Force::Yes),
                ERROR_SUCCESS)
          << path;
    }
  }
  for (std::size_t i = 0; i < std::size(kWatchedKeys); ++i) {
    const WatchedKey& key = kWatchedKeys[i];
    for (const std::string& name : keyNames(registry(), key)) {
      if (m_disk->keysBefore[i].count(name) != 0) continue;
      const std::string path = *key.path != '\0' ? std::string(key.path) + "\\" + name : name;
      EXPECT_EQ(registry().RegDeleteTreeA(key.root, path.c_str()), ERROR_SUCCESS) << path;
    }
  }
}

void TestMachine::addDrive(char letter) {
  // NOTE: Wine takes DefineDosDeviceA's folder for a host path, so a drive letter cannot stand
  // for a folder of drive C: here.
  ADD_FAILURE() << "further drives belong to the simulated machine (" << letter << ":)";
}

void TestMachine::addDriveLink(char letter, const std::string& target) {
  ADD_FAILURE() << "drive links belong to the simulated machine (" << letter << ": " << target
                << ")";
}

void TestMachine::addShare(const std::string& server, const std::string& share) {
  ADD_FAILURE() << "shares belong to the simulated machine (\\\\" << server << "\\" << share
                << ")";
}

void TestMachine::addHostDrive(char letter) {
  // Wine shows the host as Z: already; Windows has no host to show.
  EXPECT_TRUE(files().drive(letter).ok()) << "no drive " << letter << ": for the host";
}

void TestMachine::linkFolder(const std::string& link, const std::string& target) {
  ADD_FAILURE() << "folder links belong to the simulated machine (" << link << " -> " << target
                << ")";
}

void TestMachine::writeFile(const std::string& path, const std::string& bytes) {
  // The missing folders first, from the top down.
  const auto slash = path.find_last_of('\\');
  ASSERT_NE(slash, std::string::npos) << path;
  const std::string folder = path.substr(0, slash);
  for (std::size_t next = folder.find('\\', 3); ; next = folder.find('\\', next + 1)) {
    const std::string level = folder.substr(0, next);
    if (level.size() > 3 && !files().folderExists(level)) {
      ASSERT_EQ(files().createFolder(level), ERROR_SUCCESS) << level;
    }
    if (next == std::string::npos) break;
  }
  auto file = files().openFile(path, OpenMode::CreateTruncate);
  ASSERT_TRUE(file.ok()) << path << ": " << file.status();
  ASSERT_EQ((*file)->write(bytes.data(), bytes.size()), ERROR_SUCCESS) << path;
  ASSERT_EQ((*file)->close(), ERROR_SUCCESS) << path;
}

std::string TestMachine::readFile(const std::string& path) {
  auto file = files().openFile(path, OpenMode::Read);
  if (!file) return "";
  std::string bytes;
  char buffer[16384];
  for (;;) {
    auto got = (*file)->read(buffer, sizeof buffer);
    if (!got || *got == 0) break;
    bytes.append(buffer, *got);
  }
  return bytes;
}

std::filesystem::path TestMachine::hostPath(const std::string& path) {
  // The host is Windows itself.
  return std::filesystem::path(path);
}

std::string TestMachine::windowsPathOfHost(const std::filesystem::path& hostPath) {
  // Paths the build knows (where it put the component) are the build host's; under Wine its
  // root is drive Z:.
  std::string text = hostPath.string();
  if (!text.empty() && text[0] == '/') {
    std::replace(text.begin(), text.end(), '/', '\\');
    return "Z:" + text;
  }
  return text;
}

const std::filesystem::path& TestMachine::winePrefix() const {
  ADD_FAILURE() << "the Win32 test machine is no Wine prefix of its own";
  static const std::filesystem::path none;
  return none;
}

std::string TestMachine::commandLog() const {
  ADD_FAILURE() << "the Win32 test machine starts real programs and keeps no log of them";
  return "";
}

std::unique_ptr<Machine> TestMachine::sameMachineWithProgramIn(const std::string& programDirectory) {
  return std::make_unique<TestWin32Machine>(m_clock, programDirectory, m_disk->options.userName);
}

}  // namespace platform::testing
