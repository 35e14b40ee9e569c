#include "platform/testing/wine_prefix.h"

#include <signal.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <initializer_list>
#include <sstream>

#include "native_registry.h"

namespace platform::testing {
namespace {

namespace fs = std::filesystem;

std::string shellQuoted(const std::string& word) {
  std::string quoted = "'";
  for (char c : word) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

// The first of the places Debian's packages put the programs.
std::string findProgram(std::initializer_list<const char*> candidates) {
  const char* pathVariable = std::getenv("PATH");
  std::vector<fs::path> directories;
  std::istringstream path(pathVariable ? pathVariable : "");
  for (std::string directory; std::getline(path, directory, ':');)
    directories.emplace_back(directory);
  for (const char* candidate : candidates) {
    if (fs::path(candidate).is_absolute()) {
      if (fs::exists(candidate)) return candidate;
      continue;
    }
    for (const fs::path& directory : directories) {
      if (fs::exists(directory / candidate)) return (directory / candidate).string();
    }
  }
  return {};
}

}  // namespace

std::string readHostFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

WinePrefix::WinePrefix() {
  // The 64-bit loader first: with 32-bit Wine installed, Debian's "wine" always starts the 32-bit
  // one, which a host without 32-bit support cannot run.
  m_wine = findProgram({"wine64", "/usr/lib/wine/wine64", "wine"});
  m_wineserver =
      findProgram({"wineserver", "/usr/lib/wine/wineserver64", "/usr/lib/wine/wineserver"});
  if (m_wine.empty() || m_wineserver.empty()) {
    m_wine.clear();
    return;
  }
  std::string pattern = (fs::temp_directory_path() / "transvale-wine-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) return;
  m_root = pattern;
  m_prefix = m_root / "prefix";
  // Headless and quiet, with no offer to install Mono or Gecko.
  ::setenv("WINEPREFIX", m_prefix.c_str(), 1);
  ::setenv("WINEDEBUG", "-all", 1);
  ::setenv("WINEDLLOVERRIDES", "mscoree,mshtml=", 1);
  ::unsetenv("DISPLAY");
  m_bootOutput = run(m_wine + " wineboot -i");
  stopServer();
}

WinePrefix::~WinePrefix() {
  if (m_root.empty()) return;
  stopServer();
  endLeftovers();
  std::error_code error;
  fs::remove_all(m_root, error);
}

bool WinePrefix::ready() const { return !m_prefix.empty() && fs::exists(m_prefix / "system.reg"); }

std::string WinePrefix::wine(const std::vector<std::string>& args) {
  std::string command = m_wine;
  for (const std::string& arg : args) command += ' ' + shellQuoted(arg);
  return run(command);
}

void WinePrefix::stopServer() { run(m_wineserver + " -k"); }

void WinePrefix::keepServer() { run(m_wineserver + " -p"); }

// NOTE: a Wine device or service process can outlive its server; left running, it would hold
// the test runner's files open. Only processes of this run's own prefix are ended.
void WinePrefix::endLeftovers() const {
  const std::string marker = '\0' + ("WINEPREFIX=" + m_prefix.string()) + '\0';
  const std::string self = std::to_string(::getpid());  // which has the variable too
  std::error_code error;
  for (const auto& entry : fs::directory_iterator("/proc", error)) {
    const std::string name = entry.path().filename().string();
    if (name.empty() || name == self || name.find_first_not_of("0123456789") != std::string::npos) {
      continue;
    }
    const std::string environment = '\0' + readHostFile(entry.path() / "environ") + '\0';
    if (environment.find(marker) == std::string::npos) continue;
    ::kill(static_cast<pid_t>(std::stol(name)), SIGKILL);
  }
}

// Output goes through a file: the programs Wine starts on the side (services, devices) live on
// with the server and would hold a pipe open.
std::string WinePrefix::run(const std::string& command) const {
  const fs::path output = m_root.empty() ? fs::path("/dev/null") : m_root / "output.txt";
  const std::string line = command + " >" + shellQuoted(output.string()) + " 2>&1 </dev/null";
  if (std::system(line.c_str()) == -1) return "(could not run " + command + ")";
  return m_root.empty() ? std::string() : readHostFile(output);
}

std::unique_ptr<Registry> WinePrefix::registry() const {
  return std::make_unique<NativeRegistry>(m_prefix);
}

}  // namespace platform::testing
