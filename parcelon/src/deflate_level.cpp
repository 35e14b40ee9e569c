#include "deflate_level.h"

#include <array>
#include <cmath>
#include <cstring>
#include <vector>

namespace parcelon {
namespace {

// Below this the byte counts of random data are too uneven to tell it from data that deflates
// a little, and there is too little time to save.
constexpr std::size_t kMinimumSize = 8 * 1024;
// The share of a block that stored blocks may give away: 1/128, a little under 1%.
constexpr double kMaxGain = 1.0 / 128.0;
// How far back a deflate match reaches, and the shortest repeat that saves a few bits.
constexpr std::size_t kWindow = 32 * 1024;
constexpr std::size_t kShortestRepeat = 6;
constexpr std::size_t kLongestRepeat = 258;
constexpr unsigned kHashBits = 12;  // a table that stays in the first-level cache
constexpr std::uint32_t kNoPosition = 0xFFFFFFFFu;

// Level 6's match search, but cut short once a match of 4 bytes is in hand (level 6 waits for
// 8) and following at most 96 candidates (level 6 follows 128).
constexpr int kGoodLength = 4;
constexpr int kMaxLazy = 16;
constexpr int kNiceLength = 128;
constexpr int kMaxChain = 96;

std::uint32_t read32(const std::uint8_t* bytes) {
  std::uint32_t value;
  std::memcpy(&value, bytes, sizeof value);
  return value;
}

// The bits an ideal code for single bytes, built for this block, would take.
double literalBits(const std::uint8_t* data, std::size_t size) {
  // Four tables, so that neighbouring equal bytes do not wait on one counter.
  std::array<std::array<std::uint32_t, 256>, 4> counts{};
  std::size_t i = 0;
  for (; i + 4 <= size; i += 4) {
    ++counts[0][data[i]];
    ++counts[1][data[i + 1]];
    ++counts[2][data[i + 2]];
    ++counts[3][data[i + 3]];
  }
  for (; i < size; ++i) ++counts[0][data[i]];
  double bits = 0.0;
  const double total = static_cast<double>(size);
  for (std::size_t byte = 0; byte < 256; ++byte) {
    const std::uint32_t count =
        counts[0][byte] + counts[1][byte] + counts[2][byte] + counts[3][byte];
    if (count > 0) bits -= count * std::log2(count / total);
  }
  return bits;
}

// Whether more than `limit` bytes of the block repeat earlier bytes within the window. A quick
// scan in the manner of the fastest deflate: one candidate per hash of four bytes.
bool repeatsMoreThan(const std::uint8_t* data, std::size_t size, std::size_t limit) {
  std::vector<std::uint32_t> latest(std::size_t{1} << kHashBits, kNoPosition);
  std::size_t repeated = 0;
  std::size_t i = 0;
  while (i + kShortestRepeat <= size) {
    const std::uint32_t key = read32(data + i);
    const std::uint32_t hash = (key * 2654435761u) >> (32 - kHashBits);
    const std::uint32_t candidate = latest[hash];
    latest[hash] = static_cast<std::uint32_t>(i);
    if (candidate != kNoPosition && i - candidate <= kWindow && read32(data + candidate) == key) {
      std::size_t length = 4;
      while (length < kLongestRepeat && i + length < size &&
             data[candidate + length] == data[i + length]) {
        ++length;
      }
      if (length >= kShortestRepeat) {
        repeated += length;
        if (repeated > limit) return true;
        i += length;
        continue;
      }
    }
    ++i;
  }
  return false;
}

}  // namespace

bool looksIncompressible(const std::uint8_t* data, std::size_t size) {
  if (size < kMinimumSize) return false;
  const double allowed = static_cast<double>(size) * kMaxGain;
  // Most data is told apart by its first bytes already: text and records use few byte values.
  constexpr std::size_t kGlance = 4096;
  constexpr double kGlanceBitsPerByte = 7.5;
  if (literalBits(data, kGlance) < kGlance * kGlanceBitsPerByte) return false;
  if (literalBits(data, size) / 8.0 < static_cast<double>(size) - allowed) return false;
  return !repeatsMoreThan(data, size, static_cast<std::size_t>(allowed));
}

int deflateLevelFor(const std::uint8_t* data, std::size_t size) {
  return looksIncompressible(data, size) ? Z_NO_COMPRESSION : Z_DEFAULT_COMPRESSION;
}

int useDeflateLevel(z_stream& stream, int level) {
  const int result = deflateParams(&stream, level, Z_DEFAULT_STRATEGY);
  if (result != Z_OK || level == Z_NO_COMPRESSION) return result;
  return deflateTune(&stream, kGoodLength, kMaxLazy, kNiceLength, kMaxChain);
}

}  // namespace parcelon
