// ZIP64 archives made by Python's zipfile, which unzip reads. The control reads only the 32-bit
// records: it refuses what needs the ZIP64 values instead of listing their placeholders.
#include <gtest/gtest.h>

#include "zip_fixture.h"

namespace parcelon::testing {
namespace {

// Lowering zipfile's limits makes it write the ZIP64 records a 4 GiB archive would have.
struct Zip64Made {
  const char* label;
  const char* limits;  // Python statements run before the archive is written
};

void PrintTo(const Zip64Made& made, std::ostream* out) { *out << made.label; }

class Zip64 : public ZipTest {
 protected:
  void makeWithPython(const std::string& archive, const std::string& limits,
                      const std::string& body) {
    const std::string script = "import sys, zipfile\n" + limits + "\n" +
                               "with zipfile.ZipFile(sys.argv[1], 'w', zipfile.ZIP_DEFLATED) as z:\n" +
                               body;
    writeFile(archive, "");
    const auto made =
        runCommand("python3 -c " + shellQuote(script) + " " + shellQuote(hostPath(archive).string()));
    ASSERT_EQ(made.exitCode, 0) << made.output;
    const auto tested = runCommand("unzip -t " + shellQuote(hostPath(archive).string()));
    ASSERT_EQ(tested.exitCode, 0) << tested.output;
  }
};

class Zip64Archive : public Zip64, public ::testing::WithParamInterface<Zip64Made> {};

TEST_P(Zip64Archive, IsRefusedAtOpening) {
  makeWithPython("C:\\z64.zip", GetParam().limits,
                 "    z.writestr('a.txt', b'x' * 9000)\n"
                 "    z.writestr('b.txt', b'hello')\n");
  EXPECT_TRUE(raises(control().OpenZip("C:\\z64.zip"), ZipError::CouldntOpen));
  EXPECT_TRUE(raises(control().FileCount(), ZipError::NotOpen));
  EXPECT_TRUE(returns(control().Close(), 0));
}

INSTANTIATE_TEST_SUITE_P(
    Python, Zip64Archive,
    ::testing::Values(
        // More entries than the end record may count: a ZIP64 end record and its locator.
        Zip64Made{"EndRecord", "zipfile.ZIP_FILECOUNT_LIMIT = 1"},
        // Sizes and offsets past the limit: placeholders in the central headers as well.
        Zip64Made{"SizesAndOffsets", "zipfile.ZIP64_LIMIT = 100"}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(Zip64, EntryWithZip64LocalSizesIsListedRightAndNotExtracted) {
  // force_zip64 puts placeholders only in the local header; the central directory is plain.
  makeWithPython("C:\\z64.zip", "",
                 "    with z.open('a.txt', 'w', force_zip64=True) as f: f.write(b'x' * 9000)\n"
                 "    z.writestr('b.txt', b'hello')\n");
  ASSERT_TRUE(returns(control().OpenZip("C:\\z64.zip"), 0));
  EXPECT_TRUE(returns(control().FileCount(), 2));
  EXPECT_TRUE(returns(control().Filename(0), std::string("a.txt")));
  EXPECT_TRUE(returns(control().FileSize(0), 9000));
  std::filesystem::create_directories(hostPath("C:\\out"));
  EXPECT_TRUE(raises(control().ExtractFile("a.txt", "C:\\out", ""), ZipError::FormatError));
  EXPECT_FALSE(exists("C:\\out\\a.txt"));
  EXPECT_TRUE(returns(control().ExtractFile("b.txt", "C:\\out", ""), 0));
  EXPECT_EQ(readFile("C:\\out\\b.txt"), "hello");
}

}  // namespace
}  // namespace parcelon::testing
