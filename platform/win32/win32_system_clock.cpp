// The host's real time on Windows: GetSystemTimeAsFileTime and Sleep.
#include "platform/clock.h"
#include "windows_api.h"

namespace platform {

FileTime SystemClock::now() {
  ::FILETIME time;
  ::GetSystemTimeAsFileTime(&time);
  return (static_cast<FileTime>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

void SystemClock::sleep(std::uint32_t milliseconds) { ::Sleep(milliseconds); }

}  // namespace platform
