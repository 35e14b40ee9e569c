#include "win32_machine.h"

#include "windows_api.h"

namespace platform {

std::string win32ProgramDirectory() {
  Win32Environment environment;
  if (auto named = environment.variable("TRANSVALE_PROGRAM_DIR"); named && !named->empty()) {
    while (named->size() > 3 && named->back() == '\\') named->pop_back();
    return *named;
  }
  char name[MAX_PATH + 1];
  const ::DWORD length = ::GetModuleFileNameA(nullptr, name, sizeof name);
  std::string path(name, length < sizeof name ? length : 0);
  const auto slash = path.find_last_of('\\');
  if (slash == std::string::npos) return path;
  path.resize(slash);
  if (path.size() == 2 && path[1] == ':') path += '\\';  // a program in a drive's root
  return path;
}

Win32Machine::Win32Machine()
    : m_ownClock(std::make_unique<SystemClock>()),
      m_clock(*m_ownClock),
      m_programDirectory(win32ProgramDirectory()) {}

Win32Machine::Win32Machine(Clock& clock, std::string programDirectory)
    : m_clock(clock), m_programDirectory(std::move(programDirectory)) {}

}  // namespace platform
