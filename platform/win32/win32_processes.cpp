#include "win32_processes.h"

#include <vector>

#include "win32_status.h"
#include "windows_api.h"

namespace platform {
namespace {

::WORD showCommand(WindowStyle style) {
  switch (style) {
    case WindowStyle::Hidden: return SW_HIDE;
    case WindowStyle::Normal: return SW_SHOWNORMAL;
    case WindowStyle::Minimized: return SW_SHOWMINIMIZED;
    case WindowStyle::Maximized: return SW_SHOWMAXIMIZED;
  }
  return SW_SHOWNORMAL;
}

}  // namespace

Result<ProcessOutcome> Win32Processes::start(const std::string& commandLine, WindowStyle style,
                                             Wait wait) {
  using Outcome = Result<ProcessOutcome>;
  // CreateProcessA may write into the command line.
  std::vector<char> text(commandLine.begin(), commandLine.end());
  text.push_back('\0');
  ::STARTUPINFOA startup;
  ::ZeroMemory(&startup, sizeof startup);
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = showCommand(style);
  ::PROCESS_INFORMATION process;
  if (!::CreateProcessA(nullptr, text.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
    return Outcome::failure(lastWindowsError(), commandLine);
  }
  ::CloseHandle(process.hThread);
  ProcessOutcome outcome;
  if (wait == Wait::Yes) {
    ::DWORD exitCode = 0;
    if (::WaitForSingleObject(process.hProcess, INFINITE) == WAIT_FAILED ||
        !::GetExitCodeProcess(process.hProcess, &exitCode)) {
      const Status failed = lastWindowsError();
      ::CloseHandle(process.hProcess);
      return Outcome::failure(failed, commandLine);
    }
    outcome.exitCode = exitCode;
  }
  ::CloseHandle(process.hProcess);
  return outcome;
}

}  // namespace platform
