#include "native_scenario_machine.h"

#include <unistd.h>

#include <fstream>
#include <iterator>

#include "machine_contents.h"
#include "native_processes.h"
#include "platform/text_encoding.h"

namespace scenario {

namespace {

constexpr const char* kSystemEnvironmentKey =
    "System\\CurrentControlSet\\Control\\Session Manager\\Environment";

void makeDrives(const std::filesystem::path& root, const MachineDescription& description) {
  namespace fs = std::filesystem;
  fs::create_directories(root / "dosdevices");
  for (const auto& [letter, drive] : description.drives) {
    const std::string link = std::string(1, letter) + ":";
    if (!drive.share.empty()) {
      // \\server\share lives in dosdevices/unc/server/share; the drive links to it.
      std::string relative = "unc";
      std::string rest = drive.share.substr(2);
      for (char& c : rest) c = c == '\\' ? '/' : c;
      relative += "/" + rest;
      fs::create_directories(root / "dosdevices" / relative);
      fs::create_symlink(drive.ready ? relative : relative + ".missing",
                         root / "dosdevices" / link);
      continue;
    }
    const std::string folder = "drive_" + std::string(1, letter);
    if (drive.ready) fs::create_directories(root / folder);
    fs::create_symlink("../" + folder, root / "dosdevices" / link);
    if (drive.ready && !drive.label.empty()) {
      std::ofstream(root / folder / ".windows-label", std::ios::binary) << drive.label;
    }
  }
}

void makeShares(const std::filesystem::path& root, const MachineDescription& description) {
  for (const platform::UncName& share : description.shares) {
    std::filesystem::create_directories(root / "dosdevices" / "unc" /
                                        platform::ansiToUtf8(share.server) /
                                        platform::ansiToUtf8(share.share));
  }
}

// Local printers, the network's printers and the user's connections, where Windows keeps them.
bool addPrinters(platform::NativePrinters& printers, const MachineDescription& description,
                 std::string& error) {
  const auto failed = [&error](const std::string& location, const std::string& what,
                               platform::Status status) {
    error = location + ": cannot add " + what + " (status " + platform::toString(status) + ")";
    return false;
  };
  for (const auto& [printer, location] : description.printers) {
    const platform::Status status = printers.addLocalPrinter(printer);
    if (status.failed()) return failed(location, printer.name, status);
  }
  for (const auto& [printer, location] : description.sharedPrinters) {
    const platform::Status status = printers.recordSharedPrinter(printer);
    if (status.failed()) return failed(location, printer.name, status);
  }
  for (const auto& [name, location] : description.printerConnections) {
    const platform::Status status = printers.rememberConnection(name);
    if (status.failed()) return failed(location, name, status);
  }
  return true;
}

// The first failure stops the writing: a machine that lacks part of its description would only

// The drives as Wine's registry names them, the environment and the user, then the `reg` lines.
platform::Status writeRegistry(platform::Registry& registry,
                               const MachineDescription& description) {
  const RegistryPath drives{platform::HKEY_LOCAL_MACHINE, "Software\\Wine\\Drives"};
  for (const auto& [letter, drive] : description.drives) {
    RETURN_IF_FAILED(writeRegistryValue(registry, drives, std::string(1, letter) + ":",
                                        {platform::REG_SZ, drive.wineType + '\0'}));
  }
  const RegistryPath system{platform::HKEY_LOCAL_MACHINE, kSystemEnvironmentKey};
  for (const auto& [name, value] : description.environment) {
    RETURN_IF_FAILED(writeRegistryValue(registry, system, name, {platform::REG_SZ, value + '\0'}));
  }
  if (description.user) {
    RETURN_IF_FAILED(writeRegistryValue(registry,
                                        {platform::HKEY_CURRENT_USER, "Volatile Environment"},
                                        "USERNAME", {platform::REG_SZ, *description.user + '\0'}));
  }
  return writeDescribedRegistry(registry, description);
}

// The component's library as the build made it.
std::string builtLibrary() {
  std::ifstream in(PARCELON_LIBRARY_PATH, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

NativeScenarioMachine::~NativeScenarioMachine() {
  m_machine.reset();
  if (!m_root.empty() && !m_keep) {
    std::error_code ignored;
    std::filesystem::remove_all(m_root, ignored);
  }
}

bool NativeScenarioMachine::build(const MachineDescription& description, std::string& error) {
  std::string pattern = (std::filesystem::temp_directory_path() / "scenario-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) {
    error = "cannot make a temporary folder";
    return false;
  }
  m_root = pattern;
  makeDrives(m_root, description);
  makeShares(m_root, description);
  m_machine =
      std::make_unique<platform::NativeMachine>(m_root, m_clock, description.programDirectory);
  if (writeRegistry(m_machine->registry(), description).failed()) {
    error = "cannot write the machine's registry";
    return false;
  }
  if (!addPrinters(m_machine->nativePrinters(), description, error)) return false;
  if (m_machine->nativeRegistry().flushAll().failed()) {
    error = "cannot write the machine's registry";
    return false;
  }
  if (!writeDescribedFiles(m_machine->files(), description, m_clock.now(), error)) return false;
  const std::filesystem::path library = PARCELON_LIBRARY_PATH;
  return !description.zipComponent ||
         installZipComponent(m_machine->files(), description, library.filename().string(),
                             builtLibrary(), error);
}

std::vector<std::string> NativeScenarioMachine::startedCommands() const {
  std::vector<std::string> lines;
  std::ifstream log(m_root / platform::NativeProcesses::kLogName, std::ios::binary);
  for (std::string line; std::getline(log, line);) {
    if (!line.empty()) lines.push_back(line);
  }
  return lines;
}

std::string NativeScenarioMachine::keep() {
  m_keep = true;
  return "machine root " + m_root.string();
}

std::unique_ptr<ScenarioMachine> buildScenarioMachine(const std::vector<ScenarioLine>& lines,
                                                      MachineProblem& problem) {
  MachineDescription description;
  if (!describeMachine(lines, description, problem.text)) return nullptr;
  auto machine = std::make_unique<NativeScenarioMachine>();
  if (!machine->build(description, problem.text)) return nullptr;
  return machine;
}

}  // namespace scenario
