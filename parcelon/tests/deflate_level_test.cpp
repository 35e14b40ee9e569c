#include "deflate_level.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <string>

#include "zip_fixture.h"

namespace parcelon {
namespace {

using testing::noiseBytes;
using testing::textBytes;

std::string repeated(const std::string& piece, std::size_t times) {
  std::string bytes;
  for (std::size_t i = 0; i < times; ++i) bytes += piece;
  return bytes;
}

// Noise whose bytes only take the values 0..127: every byte wastes a bit.
std::string sevenBitNoise(std::size_t size) {
  std::string bytes = noiseBytes(size, 5);
  for (char& c : bytes) c = static_cast<char>(c & 0x7F);
  return bytes;
}

// What deflating at the full level makes of the data, against the data's own size.
double deflatedShare(const std::string& bytes) {
  uLongf size = compressBound(static_cast<uLong>(bytes.size()));
  std::string out(size, '\0');
  EXPECT_EQ(compress2(reinterpret_cast<Bytef*>(out.data()), &size,
                      reinterpret_cast<const Bytef*>(bytes.data()),
                      static_cast<uLong>(bytes.size()), Z_DEFAULT_COMPRESSION),
            Z_OK);
  return static_cast<double>(size) / static_cast<double>(bytes.size());
}

struct Block {
  const char* label;
  std::string bytes;
  bool incompressible;
};

void PrintTo(const Block& block, std::ostream* out) { *out << block.label; }

class DeflateLevel : public ::testing::TestWithParam<Block> {};

// Only data the full level cannot shrink by 1% is stored; whatever repeats or spends fewer
// than eight bits on a byte is deflated, noise included.
TEST_P(DeflateLevel, StoresOnlyWhatDeflatingCannotShrink) {
  const Block& block = GetParam();
  const auto* data = reinterpret_cast<const std::uint8_t*>(block.bytes.data());
  EXPECT_EQ(looksIncompressible(data, block.bytes.size()), block.incompressible);
  EXPECT_EQ(deflateLevelFor(data, block.bytes.size()),
            block.incompressible ? Z_NO_COMPRESSION : Z_DEFAULT_COMPRESSION);
  if (block.incompressible) {
    EXPECT_GT(deflatedShare(block.bytes), 0.99);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Blocks, DeflateLevel,
    ::testing::Values(Block{"noise", noiseBytes(65536, 1), true},
                      Block{"the smallest noise judged", noiseBytes(8192, 2), true},
                      Block{"noise too short to judge", noiseBytes(8191, 3), false},
                      Block{"text", textBytes(65536), false},
                      Block{"noise repeated within the window", repeated(noiseBytes(16384, 4), 4),
                            false},
                      Block{"noise of seven bits", sevenBitNoise(65536), false},
                      Block{"noise ending in text", noiseBytes(60000, 6) + textBytes(5536), false}),
    [](const auto& info) { return "Case" + std::to_string(info.index); });

}  // namespace
}  // namespace parcelon
