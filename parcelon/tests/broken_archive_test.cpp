// Damaged and hostile archives: each gets a clear error of the table, never a crash, and no
// file is written from them.
#include <gtest/gtest.h>

#include <functional>

#include "little_endian.h"
#include "zip_fixture.h"
#include "zip_reader.h"

namespace parcelon::testing {
namespace {

using Bytes = std::string;

struct Damage {
  const char* label;
  std::function<void(Bytes&)> apply;
  bool opens;                      // OpenZip succeeds
  std::optional<ZipError> raised;  // ExtractFile of the first entry raises this...
  std::int32_t result;             // ...or returns this
  const char* password = "";       // given to ExtractFile
};

// Offsets in the fixture archive (one 20000-byte text entry "a.txt", then "b.bin").
struct Layout {
  std::size_t local0 = 0;
  std::size_t data0 = 0;
  std::size_t central0 = 0;
  std::size_t end = 0;
};

Layout layoutOf(const Bytes& bytes) {
  Layout layout;
  layout.end = bytes.rfind(std::string("PK\x05\x06", 4));
  const auto* b = reinterpret_cast<const std::uint8_t*>(bytes.data());
  layout.central0 = get32(b + layout.end + 16);
  layout.data0 = 30 + get16(b + 26);
  return layout;
}

void put32At(Bytes& bytes, std::size_t offset, std::uint32_t value) {
  put32(reinterpret_cast<std::uint8_t*>(bytes.data()) + offset, value);
}
void put16At(Bytes& bytes, std::size_t offset, std::uint16_t value) {
  put16(reinterpret_cast<std::uint8_t*>(bytes.data()) + offset, value);
}
std::uint32_t get32At(const Bytes& bytes, std::size_t offset) {
  return get32(reinterpret_cast<const std::uint8_t*>(bytes.data()) + offset);
}

// Both copies of a size field: the local header's and the first central header's.
void setBothSizes(Bytes& b, std::size_t localField, std::size_t centralField, std::uint32_t v) {
  const Layout l = layoutOf(b);
  put32At(b, localField, v);
  put32At(b, l.central0 + centralField, v);
}

void markEncryptedAndShort(Bytes& b) {
  put16At(b, 6, 1);
  put16At(b, layoutOf(b).central0 + 8, 1);
  setBothSizes(b, 18, 20, 5);
}

const Damage kDamages[] = {
    {"empty file", [](Bytes& b) { b.clear(); }, false, {}, 0},
    {"ten bytes", [](Bytes& b) { b.resize(10); }, false, {}, 0},
    {"cut in the data", [](Bytes& b) { b.resize(b.size() / 2); }, false, {}, 0},
    {"cut in the end record", [](Bytes& b) { b.resize(b.size() - 5); }, false, {}, 0},
    {"end record on disk 1", [](Bytes& b) { put16At(b, layoutOf(b).end + 4, 1); }, false, {}, 0},
    {"entry counts differ", [](Bytes& b) { put16At(b, layoutOf(b).end + 8, 1); }, false, {}, 0},
    {"directory past the end record",
     [](Bytes& b) { put32At(b, layoutOf(b).end + 16, 0xFFFFFF00u); },
     false,
     {},
     0},
    {"comment of 70000 bytes",
     [](Bytes& b) {
       put16At(b, layoutOf(b).end + 20, 0xFFFF);
       b += std::string(70000, 'c');
     },
     false,
     {},
     0},
    {"central signature broken", [](Bytes& b) { b[layoutOf(b).central0] = 'X'; }, true,
     ZipError::NotFound, 0},
    {"name length runs past the file",
     [](Bytes& b) { put16At(b, layoutOf(b).central0 + 28, 0xFFFF); }, true, ZipError::NotFound, 0},
    {"local signature broken", [](Bytes& b) { b[0] = 'X'; }, true, {}, -103},
    {"local size differs from central",
     [](Bytes& b) { put32At(b, 18, get32At(b, 18) + 1); },
     true,
     {},
     -103},
    {"method 12",
     [](Bytes& b) {
       put16At(b, 8, 12);
       put16At(b, layoutOf(b).central0 + 10, 12);
     },
     true,
     {},
     -103},
    {"local header offset past the file",
     [](Bytes& b) { put32At(b, layoutOf(b).central0 + 42, 0x7FFFFFF0u); },
     true,
     {},
     -103},
    {"compressed size too small", [](Bytes& b) { setBothSizes(b, 18, 20, get32At(b, 18) / 2); },
     true, ZipError::FormatError, 0},
    {"uncompressed size larger than the data", [](Bytes& b) { setBothSizes(b, 22, 24, 30000); },
     true, ZipError::FormatError, 0},
    {"uncompressed size smaller than the data", [](Bytes& b) { setBothSizes(b, 22, 24, 100); },
     true, ZipError::FormatError, 0},
    {"deflate data scrambled",
     [](Bytes& b) {
       const Layout l = layoutOf(b);
       for (std::size_t i = l.data0 + 4; i < l.data0 + 200; ++i)
         b[i] = static_cast<char>(b[i] ^ 0x5A);
     },
     true, ZipError::FormatError, 0},
    {"CRC-32 wrong", [](Bytes& b) { setBothSizes(b, 14, 16, 0x12345678); }, true,
     ZipError::FormatError, 0},
    {"encrypted, no password given", markEncryptedAndShort, true, ZipError::NoPassword, 0},
    {"encrypted, shorter than its header", markEncryptedAndShort, true, {}, -103, "pw"},
    // The count a ZIP64 archive leaves in its end record: two entries cannot be 65535.
    {"entry count far beyond the directory",
     [](Bytes& b) {
       put16At(b, layoutOf(b).end + 8, 0xFFFF);
       put16At(b, layoutOf(b).end + 10, 0xFFFF);
     },
     false,
     {},
     0},
    {"central size a ZIP64 placeholder",
     [](Bytes& b) { put32At(b, layoutOf(b).central0 + 24, 0xFFFFFFFFu); }, false, {}, 0},
    {"local sizes ZIP64 placeholders",
     [](Bytes& b) {
       put32At(b, 18, 0xFFFFFFFFu);
       put32At(b, 22, 0xFFFFFFFFu);
     },
     true, ZipError::FormatError, 0},
};

void PrintTo(const Damage& damage, std::ostream* out) { *out << damage.label; }

class BrokenArchive : public ZipTest, public ::testing::WithParamInterface<Damage> {};

TEST_P(BrokenArchive, GetsAnErrorOfTheTableAndNoFile) {
  const Damage& damage = GetParam();
  makeArchive("C:\\good.zip",
              {{"C:\\in\\a.txt", textBytes(20000)}, {"C:\\in\\b.bin", noiseBytes(3000, 1)}});
  Bytes bytes = readFile("C:\\good.zip");
  damage.apply(bytes);
  writeFile("C:\\bad.zip", bytes);
  std::filesystem::create_directories(hostPath("C:\\out\\in"));
  writeFile("C:\\out\\in\\a.txt", "precious");

  const auto opened = control().OpenZip("C:\\bad.zip");
  ASSERT_EQ(!opened.raised(), damage.opens) << damage.label;
  if (!damage.opens) {
    EXPECT_TRUE(raises(opened, ZipError::CouldntOpen));
    return;
  }
  // Every query answers, whatever the record number.
  for (std::int32_t rec : {0, 1, 2, 5000, -3}) {
    EXPECT_FALSE(control().Filename(rec).raised());
    EXPECT_FALSE(control().FileDate(rec).raised());
    EXPECT_FALSE(control().FileComment(rec).raised());
  }
  const auto extracted = control().ExtractFile("in/a.txt", "C:\\out", damage.password);
  if (damage.raised) {
    EXPECT_TRUE(raises(extracted, *damage.raised)) << damage.label;
  } else {
    EXPECT_TRUE(returns(extracted, damage.result)) << damage.label;
  }
  if (damage.raised || damage.result != 0) {
    EXPECT_EQ(readFile("C:\\out\\in\\a.txt"), "precious");
    EXPECT_EQ(folderNames("C:\\out\\in"), std::vector<std::string>{"a.txt"});
  }
  // Removal and merging refuse what they cannot rewrite, and leave the file as it was.
  const auto removed = control().RemoveFile("in/b.bin");
  if (removed.raised() && removed.error() == ZipError::CouldntOpen) {
    EXPECT_EQ(readFile("C:\\bad.zip"), bytes);
  }
  EXPECT_TRUE(returns(control().Close(), 0));
}

INSTANTIATE_TEST_SUITE_P(Damages, BrokenArchive, ::testing::ValuesIn(kDamages),
                         [](const auto& info) {
                           std::string name;
                           for (const char c : std::string(info.param.label)) {
                             if (std::isalnum(static_cast<unsigned char>(c))) name += c;
                           }
                           return name;
                         });

}  // namespace
}  // namespace parcelon::testing
