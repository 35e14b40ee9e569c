// FILETIME and the host's times: FILETIME = (Unix seconds + 11644473600) x 10^7 + ns / 100.
#pragma once

#include <time.h>

#include <cstdint>

#include "platform/file_system.h"

namespace platform {

inline constexpr std::int64_t kUnixEpochInFileTimeSeconds = 11'644'473'600;

inline FileTime fileTimeFromTimespec(const timespec& time) {
  const std::int64_t seconds = time.tv_sec + kUnixEpochInFileTimeSeconds;
  if (seconds < 0) return 0;  // before 1601: Windows cannot show it either
  return static_cast<FileTime>(seconds) * 10'000'000 + static_cast<FileTime>(time.tv_nsec / 100);
}

inline timespec timespecFromFileTime(FileTime time) {
  timespec out{};
  out.tv_sec = static_cast<time_t>(static_cast<std::int64_t>(time / 10'000'000) -
                                   kUnixEpochInFileTimeSeconds);
  out.tv_nsec = static_cast<long>(time % 10'000'000) * 100;
  return out;
}

}  // namespace platform
