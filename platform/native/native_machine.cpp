#include "native_machine.h"

#include <cctype>
#include <cstdlib>
#include <system_error>
#include <utility>

#include "platform/text_encoding.h"

namespace platform {
namespace {

namespace fs = std::filesystem;

constexpr const char* kProgramDirectoryVariable = "TRANSVALE_PROGRAM_DIR";

bool looksLikeWindowsPath(const std::string& text) {
  const bool drive =
      text.size() >= 2 && std::isalpha(static_cast<unsigned char>(text[0])) && text[1] == ':';
  const bool unc = text.size() >= 2 && text[0] == '\\' && text[1] == '\\';
  return drive || unc;
}

std::string withoutTrailingSeparator(std::string path) {
  // "C:\" keeps its separator: without it, it would mean the current folder of C:.
  while (path.size() > 3 && (path.back() == '\\' || path.back() == '/')) path.pop_back();
  return path;
}

}  // namespace

NativeMachine::NativeMachine(fs::path machineRoot, Clock& clock)
    : NativeMachine(std::move(machineRoot), clock, hostProgramDirectory()) {}

NativeMachine::NativeMachine(fs::path machineRoot)
    : m_ownClock(std::make_unique<SystemClock>()),
      m_root(std::move(machineRoot)),
      m_clock(*m_ownClock),
      m_registry(m_root, &m_clock),
      m_files(m_root, &m_registry),
      m_environment(m_registry),
      m_processes(m_root, m_files, m_registry),
      m_programDirectory(hostProgramDirectory()) {
  m_printerPrograms.installInto(m_processes);
}

NativeMachine::NativeMachine(fs::path machineRoot, Clock& clock, std::string programDirectory)
    : m_root(std::move(machineRoot)),
      m_clock(clock),
      m_registry(m_root, &clock),
      m_files(m_root, &m_registry),
      m_environment(m_registry),
      m_processes(m_root, m_files, m_registry),
      m_programDirectory(std::move(programDirectory)) {
  m_printerPrograms.installInto(m_processes);
}

std::string windowsPathOfHostPath(const fs::path& hostPath) {
  std::error_code error;
  fs::path absolute = fs::absolute(hostPath, error).lexically_normal();
  std::string text = utf8ToAnsi(absolute.string());
  for (char& c : text) {
    if (c == '/') c = '\\';
  }
  return withoutTrailingSeparator("Z:" + text);
}

std::string hostProgramDirectory() {
  if (const char* named = std::getenv(kProgramDirectoryVariable); named && *named) {
    const std::string text = named;
    if (looksLikeWindowsPath(text)) return withoutTrailingSeparator(text);
    return windowsPathOfHostPath(text);
  }
  std::error_code error;
  const fs::path executable = fs::read_symlink("/proc/self/exe", error);
  return windowsPathOfHostPath(error ? fs::current_path(error) : executable.parent_path());
}

}  // namespace platform
