#include <chrono>
#include <thread>

#include "file_time.h"
#include "platform/clock.h"

namespace platform {

FileTime SystemClock::now() {
  timespec time{};
  ::clock_gettime(CLOCK_REALTIME, &time);
  return fileTimeFromTimespec(time);
}

void SystemClock::sleep(std::uint32_t milliseconds) {
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

}  // namespace platform
