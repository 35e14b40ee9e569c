// The progress value of the Status event after k blocks of 2048 bytes.
#pragma once

#include <cstddef>
#include <cstdint>

namespace parcelon {

inline constexpr std::size_t kStatusBlockSize = 2048;

// NOTE: computed exactly as the component always did, in double precision and in this order,
// so that hosts see the same values (a 5000-byte entry gives 40, 81, 100).
inline std::int32_t statusProgress(std::uint64_t totalSize, std::uint64_t blocks) {
  const double percent =
      1.0 / (static_cast<double>(totalSize) * 0.01 * 0.00048828125) * static_cast<double>(blocks);
  if (!(percent < 100.0)) return 100;
  return static_cast<std::int32_t>(percent);
}

}  // namespace parcelon
