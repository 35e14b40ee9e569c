// Facts of Wine's registry file format shared by its reader and writer.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/file_system.h"

namespace platform {

inline constexpr std::string_view kRegistryFileHeader = "WINE REGISTRY Version 2";

// Wine's files allow any white space of a line around their tokens.
inline constexpr std::string_view kFileBlanks = " \t\r\v\f";

inline constexpr FileTime kFileTimeOfUnixEpoch = 116'444'736'000'000'000ULL;
inline constexpr FileTime kFileTimeTicksPerSecond = 10'000'000;

inline FileTime fileTimeFromUnixSeconds(std::uint64_t seconds) {
  return seconds * kFileTimeTicksPerSecond + kFileTimeOfUnixEpoch;
}

// The key line's time: Unix seconds as a 32-bit number, as Wine writes it.
inline std::uint32_t unixSecondsFromFileTime(FileTime time) {
  const auto ticks = static_cast<std::int64_t>(time - kFileTimeOfUnixEpoch);
  return static_cast<std::uint32_t>(ticks / static_cast<std::int64_t>(kFileTimeTicksPerSecond));
}

}  // namespace platform
