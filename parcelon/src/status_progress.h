// The progress value of the Status event after k blocks of 2048 bytes, and the counting of
// those blocks over the larger chunks the component actually reads.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "status_sink.h"

namespace parcelon {

inline constexpr std::size_t kStatusBlockSize = 2048;
// NOTE: data is read and written in chunks of 32 blocks, which is much faster than block by
// block; every chunk but the last is full, so the blocks and their values stay the same.
inline constexpr std::size_t kStatusChunkSize = 32 * kStatusBlockSize;

// NOTE: computed exactly as the component always did, in double precision and in this order,
// so that hosts see the same values (a 5000-byte entry gives 40, 81, 100).
inline std::int32_t statusProgress(std::uint64_t totalSize, std::uint64_t blocks) {
  const double percent =
      1.0 / (static_cast<double>(totalSize) * 0.01 * 0.00048828125) * static_cast<double>(blocks);
  if (!(percent < 100.0)) return 100;
  return static_cast<std::int32_t>(percent);
}

// Fires Status once for every block of up to 2048 bytes in the chunks it is told of.
class BlockProgress {
 public:
  BlockProgress(const StatusSink& sink, const std::string& name, std::uint64_t totalSize)
      : m_sink(sink), m_name(name), m_totalSize(totalSize) {}

  void advance(std::size_t chunkBytes) {
    const std::uint64_t chunkBlocks = (chunkBytes + kStatusBlockSize - 1) / kStatusBlockSize;
    for (std::uint64_t i = 0; i < chunkBlocks && m_sink; ++i) {
      m_sink(m_name, statusProgress(m_totalSize, ++m_blocks));
    }
  }

 private:
  const StatusSink& m_sink;
  const std::string& m_name;
  std::uint64_t m_totalSize;
  std::uint64_t m_blocks = 0;
};

}  // namespace parcelon
