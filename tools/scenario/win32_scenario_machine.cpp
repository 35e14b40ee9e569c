// The scenario machine of the Windows build: the Windows the driver runs on (under Wine, the Wine
// prefix), with the scenario's files and registry values written into it, the described user and
// environment in place of the machine's own, and a record of the programs started. Further
// drives, shares and printers cannot be made on a real Windows without changing it for good, so a
// scenario that asks for them is left to the native suite. What appeared at the top of drive C:
// and of the registry's usual places goes again when the machine goes (scripts/wine-scenarios.sh
// gives every scenario a fresh prefix all the same).
#include <algorithm>
#include <fstream>
#include <iterator>
#include <set>

#include "machine_contents.h"
#include "platform/text_encoding.h"
#include "platform/text_file.h"
#include "registry_values.h"
#include "scenario_machine.h"
#include "win32_machine.h"

namespace scenario {

namespace {

// The described variables (OS, windir and the `env` lines) and user in place of the machine's.
class ScenarioEnvironment final : public platform::Environment {
 public:
  ScenarioEnvironment(platform::Environment& machine, const MachineDescription& description)
      : m_machine(machine), m_user(description.user) {
    for (const auto& [name, value] : description.environment) {
      m_described[platform::ansiToUpper(name)] = {name, value};
    }
  }

  std::optional<std::string> variable(const std::string& name) override {
    const std::string upper = platform::ansiToUpper(name);
    if (upper == "USERNAME") return m_user;
    if (const auto described = m_described.find(upper); described != m_described.end()) {
      return described->second.second;
    }
    if (isReplaced(upper)) return std::nullopt;
    return m_machine.variable(name);
  }

  std::map<std::string, std::string> variables() override {
    std::map<std::string, std::string> all;
    for (const auto& [name, value] : m_machine.variables()) {
      const std::string upper = platform::ansiToUpper(name);
      if (upper != "USERNAME" && !isReplaced(upper) && m_described.count(upper) == 0) {
        all[name] = value;
      }
    }
    for (const auto& [upper, described] : m_described) all[described.first] = described.second;
    if (m_user) all["USERNAME"] = *m_user;
    return all;
  }

  platform::Result<std::string> userName() override {
    if (!m_user)
      return platform::Result<std::string>::failure(platform::Status(platform::ERROR_NOT_FOUND));
    return *m_user;
  }

 private:
  // The variables a description always gives, unless it takes them away (`os none`): the
  // machine's own would make a Windows 98 scenario look like NT.
  static bool isReplaced(const std::string& upper) { return upper == "OS" || upper == "WINDIR"; }

  platform::Environment& m_machine;
  std::optional<std::string> m_user;
  std::map<std::string, std::pair<std::string, std::string>> m_described;  // upper -> name, value
};

// Starts programs as the machine does, and keeps each command line.
class RecordingProcesses final : public platform::Processes {
 public:
  explicit RecordingProcesses(platform::Processes& machine) : m_machine(machine) {}

  platform::Result<platform::ProcessOutcome> start(const std::string& commandLine,
                                                   platform::WindowStyle style,
                                                   platform::Wait wait) override {
    m_started.push_back(commandLine);
    return m_machine.start(commandLine, style, wait);
  }

  const std::vector<std::string>& started() const { return m_started; }

 private:
  platform::Processes& m_machine;
  std::vector<std::string> m_started;
};

class DescribedMachine final : public platform::Machine {
 public:
  DescribedMachine(platform::Clock& clock, const MachineDescription& description)
      : m_machine(clock, description.programDirectory),
        m_environment(m_machine.environment(), description),
        m_processes(m_machine.processes()) {}

  platform::FileSystem& files() override { return m_machine.files(); }
  platform::Registry& registry() override { return m_machine.registry(); }
  platform::Environment& environment() override { return m_environment; }
  platform::Processes& processes() override { return m_processes; }
  platform::Clock& clock() override { return m_machine.clock(); }
  platform::Printers& printers() override { return m_machine.printers(); }
  platform::Network& network() override { return m_machine.network(); }
  platform::SystemParameters& systemParameters() override { return m_machine.systemParameters(); }
  platform::ShellUIHelper& shellUIHelper() override { return m_machine.shellUIHelper(); }
  std::string programDirectory() override { return m_machine.programDirectory(); }
  platform::LibraryLoader* libraryLoader() override { return m_machine.libraryLoader(); }
  platform::ThreadService* threads() override { return m_machine.threads(); }

  const std::vector<std::string>& started() const { return m_processes.started(); }

 private:
  platform::Win32Machine m_machine;
  ScenarioEnvironment m_environment;
  RecordingProcesses m_processes;
};

// The places whose new sub-keys the machine removes again.
struct WatchedKey {
  platform::HKEY root;
  const char* path;
};
constexpr WatchedKey kWatchedKeys[] = {
    {platform::HKEY_CURRENT_USER, ""},
    {platform::HKEY_CURRENT_USER, "Software"},
    {platform::HKEY_LOCAL_MACHINE, "Software"},
    {platform::HKEY_LOCAL_MACHINE, "Software\\Classes"},
};

std::set<std::string> rootEntries(platform::FileSystem& files) {
  std::set<std::string> names;
  if (auto entries = files.listFolder("C:\\", "*")) {
    for (const platform::DirectoryEntry& entry : *entries) {
      names.insert(platform::ansiToUpper(entry.name));
    }
  }
  return names;
}

std::set<std::string> keyNames(platform::Registry& registry, const WatchedKey& key) {
  std::set<std::string> names;
  for (const std::string& name : platform::subKeyNames(registry, key.root, key.path)) {
    names.insert(platform::ansiToUpper(name));
  }
  return names;
}

// What only the simulated machine can make, named for the message; empty when there is none.
std::string nativeOnlyPart(const MachineDescription& description) {
  for (const auto& [letter, drive] : description.drives) {
    if (letter != 'c') return std::string("drive ") + letter + ":";
  }
  const DriveSpec& c = description.drives.at('c');
  if (c.wineType != "hd" || !c.ready || !c.label.empty()) return "a drive C: of its own";
  if (!description.shares.empty()) return "shares";
  if (!description.printers.empty() || !description.sharedPrinters.empty() ||
      !description.printerConnections.empty()) {
    return "printers";
  }
  return "";
}

// The component as the build made it: a path of the build host, which Wine shows on drive Z:.
std::string builtLibraryPath() {
  std::string path = PARCELON_LIBRARY_PATH;
  if (!path.empty() && path[0] == '/') {
    std::replace(path.begin(), path.end(), '/', '\\');
    path = "Z:" + path;
  }
  return path;
}

class Win32ScenarioMachine final : public ScenarioMachine {
 public:
  explicit Win32ScenarioMachine(const MachineDescription& description)
      : m_machine(m_clock, description) {
    m_rootBefore = rootEntries(m_machine.files());
    for (const WatchedKey& key : kWatchedKeys)
      m_keysBefore.push_back(keyNames(m_machine.registry(), key));
  }

  ~Win32ScenarioMachine() override {
    if (m_keep) return;
    removeNewRootEntries();
    removeNewKeys();
  }

  bool build(const MachineDescription& description, std::string& error) {
    if (writeDescribedRegistry(m_machine.registry(), description).failed()) {
      error = "cannot write the machine's registry";
      return false;
    }
    if (!writeDescribedFiles(m_machine.files(), description, m_clock.now(), error)) return false;
    if (!description.zipComponent) return true;
    const std::string library = builtLibraryPath();
    const auto bytes = platform::readWholeFile(m_machine.files(), library);
    return installZipComponent(m_machine.files(), description,
                               library.substr(library.find_last_of('\\') + 1), bytes.valueOr(""),
                               error);
  }

  platform::Machine& machine() override { return m_machine; }
  platform::VirtualClock& clock() override { return m_clock; }
  std::vector<std::string> startedCommands() const override { return m_machine.started(); }
  std::string keep() override {
    m_keep = true;
    return "the machine keeps what the scenario left on it";
  }

 private:
  void removeNewRootEntries() {
    platform::FileSystem& files = m_machine.files();
    auto entries = files.listFolder("C:\\", "*");
    if (!entries) return;
    for (const platform::DirectoryEntry& entry : *entries) {
      if (m_rootBefore.count(platform::ansiToUpper(entry.name)) != 0) continue;
      const std::string path = "C:\\" + entry.name;
      const bool folder = (entry.attributes & platform::FILE_ATTRIBUTE_DIRECTORY) != 0;
      platform::ignoreFailure(folder ? files.deleteFolder(path, platform::Force::Yes)
                                     : files.deleteFile(path, platform::Force::Yes),
                              "what a scenario left at the top of drive C:");
    }
  }

  void removeNewKeys() {
    platform::Registry& registry = m_machine.registry();
    for (std::size_t i = 0; i < std::size(kWatchedKeys); ++i) {
      const WatchedKey& key = kWatchedKeys[i];
      for (const std::string& name : keyNames(registry, key)) {
        if (m_keysBefore[i].count(name) != 0) continue;
        const std::string path = *key.path != '\0' ? std::string(key.path) + "\\" + name : name;
        platform::ignoreFailure(registry.RegDeleteTreeA(key.root, path.c_str()),
                                "a key a scenario left behind");
      }
    }
  }

  platform::VirtualClock m_clock;
  DescribedMachine m_machine;
  std::set<std::string> m_rootBefore;
  std::vector<std::set<std::string>> m_keysBefore;
  bool m_keep = false;
};

}  // namespace

std::unique_ptr<ScenarioMachine> buildScenarioMachine(const std::vector<ScenarioLine>& lines,
                                                      MachineProblem& problem) {
  MachineDescription description;
  if (!describeMachine(lines, description, problem.text)) return nullptr;
  if (const std::string part = nativeOnlyPart(description); !part.empty()) {
    problem.text = "the machine has " + part + ", which only the simulated machine makes";
    problem.nativeOnly = true;
    return nullptr;
  }
  auto machine = std::make_unique<Win32ScenarioMachine>(description);
  if (!machine->build(description, problem.text)) return nullptr;
  return machine;
}

}  // namespace scenario
