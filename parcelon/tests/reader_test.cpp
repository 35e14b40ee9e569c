// Reading: record queries, the search by name, the targets of ExtractFile, passwords, and the
// Status event.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

#include "dos_date_time.h"
#include "zip_fixture.h"
#include "zip_writer.h"

namespace parcelon::testing {
namespace {

class Reader : public ZipTest {
 protected:
  void SetUp() override {
    makeArchive("C:\\three.zip", {{"C:\\in\\one.txt", "1"},
                                  {"C:\\in\\two.txt", "22"},
                                  {"C:\\in\\readme.txt", textBytes(5000)}});
    ASSERT_TRUE(returns(control().OpenZip("C:\\three.zip"), 0));
  }
};

TEST_F(Reader, RecordNumbersOutsideTheArchiveAnswerAtOnceForTheNearestEntry) {
  EXPECT_TRUE(returns(control().FileCount(), 3));
  EXPECT_TRUE(returns(control().FileSize(1), 2));
  EXPECT_EQ(control().currentRecord(), 1);
  EXPECT_TRUE(returns(control().FileSize(3), 5000));
  EXPECT_TRUE(returns(control().FileSize(8), 5000));
  EXPECT_EQ(control().currentRecord(), 2);
  EXPECT_TRUE(returns(control().Filename(std::numeric_limits<std::int32_t>::max()),
                      std::string("in/readme.txt")));
  EXPECT_TRUE(returns(control().Filename(-1), std::string("in/one.txt")));
  EXPECT_TRUE(returns(control().Filename(std::numeric_limits<std::int32_t>::min()),
                      std::string("in/one.txt")));
  EXPECT_EQ(control().currentRecord(), 0);
  EXPECT_TRUE(returns(control().IsCrypted(0), false));
  EXPECT_TRUE(returns(control().FileComment(0), std::string()));
}

TEST_F(Reader, ExtractFileFindsNamesWithoutRegardToCaseAndReportsStatus) {
  clearEvents();
  std::filesystem::create_directories(hostPath("C:\\out\\in"));
  ASSERT_TRUE(returns(control().ExtractFile("IN/README.TXT", "C:\\out", ""), 0));
  // The file takes the name as the caller gave it.
  EXPECT_EQ(folderNames("C:\\out\\in"), std::vector<std::string>{"README.TXT"});
  EXPECT_EQ(readFile("C:\\out\\in\\README.TXT"), textBytes(5000));
  EXPECT_EQ(control().currentRecord(), 2);
  const std::vector<StatusEvent> expected = {
      {"IN/README.TXT", 40}, {"IN/README.TXT", 81}, {"IN/README.TXT", 100}};
  EXPECT_EQ(events(), expected);
}

// Data goes through in chunks of many blocks; Status must still count blocks of 2048 bytes,
// the last one short, when adding and when extracting.
TEST_F(ZipTest, StatusCountsBlocksOf2048BytesAcrossChunks) {
  constexpr std::uint64_t kSize = 70000;  // two chunks, 35 blocks
  std::vector<StatusEvent> expected;
  for (std::uint64_t k = 1; k <= 35; ++k) {
    expected.push_back(
        {"big.bin", static_cast<std::int32_t>(std::min<std::uint64_t>(204800 * k / kSize, 100))});
  }
  writeFile("C:\\in\\big.bin", textBytes(kSize));
  ASSERT_TRUE(returns(control().CreateZip("C:\\big.zip", ""), 0));
  ASSERT_TRUE(returns(control().AddFile("C:\\in\\big.bin", "", false, ""), 0));
  EXPECT_EQ(events(), expected);
  ASSERT_TRUE(returns(control().Close(), 0));
  ASSERT_TRUE(returns(control().OpenZip("C:\\big.zip"), 0));
  clearEvents();
  ASSERT_TRUE(returns(control().ExtractFile("big.bin", "C:\\out.bin", ""), 0));
  EXPECT_EQ(events(), expected);
  EXPECT_EQ(readFile("C:\\out.bin"), textBytes(kSize));
}

TEST_F(Reader, AMissingNameRaisesAndLeavesTheReaderWhereItStood) {
  ASSERT_TRUE(returns(control().Filename(1), std::string("in/two.txt")));
  EXPECT_TRUE(raises(control().ExtractFile("in/three.txt", "C:\\", ""), ZipError::NotFound));
  EXPECT_EQ(control().currentRecord(), 1);
  EXPECT_TRUE(returns(control().FileSize(1), 2));
}

// Entries 0 and 2 share a name; 1 and 3 stand between and after them.
class DuplicateNames : public ZipTest {
 protected:
  void SetUp() override {
    const std::pair<const char*, const char*> sources[] = {{"C:\\1\\same.txt", "first"},
                                                           {"C:\\2\\x.txt", "x"},
                                                           {"C:\\3\\same.txt", "third"},
                                                           {"C:\\4\\y.txt", "y"}};
    ASSERT_TRUE(returns(control().CreateZip("C:\\dup.zip", ""), 0));
    for (const auto& [path, bytes] : sources) {
      writeFile(path, bytes);
      ASSERT_TRUE(returns(control().AddFile(path, "", false, ""), 0));
    }
    ASSERT_TRUE(returns(control().Close(), 0));
    ASSERT_TRUE(returns(control().OpenZip("C:\\dup.zip"), 0));
  }
  // The bytes of the entry ExtractFile finds for the name, and the record it then stands on.
  std::pair<std::string, std::int32_t> found() {
    EXPECT_TRUE(returns(control().ExtractFile("SAME.TXT", "C:\\got.txt", ""), 0));
    return {readFile("C:\\got.txt"), control().currentRecord()};
  }
};

TEST_F(DuplicateNames, TheSearchTakesTheCurrentEntryThenTheNextThenFromTheFirst) {
  ASSERT_TRUE(returns(control().Filename(1), std::string("x.txt")));
  EXPECT_EQ(found(), std::make_pair(std::string("third"), 2)) << "the next entry";
  EXPECT_EQ(found(), std::make_pair(std::string("third"), 2)) << "the current entry";
  ASSERT_TRUE(returns(control().Filename(3), std::string("y.txt")));
  EXPECT_EQ(found(), std::make_pair(std::string("first"), 0)) << "from the first";
}

TEST_F(Reader, TheTargetIsThePathThenThePathWithTheNameIfItsFolderExists) {
  // The path itself, taken as a file name.
  ASSERT_TRUE(returns(control().ExtractFile("in/two.txt", "C:\\copy.txt", ""), 0));
  EXPECT_EQ(readFile("C:\\copy.txt"), "22");
  // A folder without the entry's own folder: the name cannot be placed, nothing is written.
  std::filesystem::create_directories(hostPath("C:\\out"));
  EXPECT_TRUE(returns(control().ExtractFile("in/two.txt", "C:\\out", ""), -1));
  EXPECT_TRUE(folderNames("C:\\out").empty());
  // With the folder there, the entry lands in it.
  std::filesystem::create_directories(hostPath("C:\\out\\in"));
  ASSERT_TRUE(returns(control().ExtractFile("in/two.txt", "C:\\out", ""), 0));
  EXPECT_EQ(readFile("C:\\out\\in\\two.txt"), "22");
  // Last, the path followed directly by the name.
  std::filesystem::create_directories(hostPath("C:\\none\\pre"));
  std::filesystem::create_directories(hostPath("C:\\none\\prein"));
  ASSERT_TRUE(returns(control().ExtractFile("in/two.txt", "C:\\none\\pre", ""), 0));
  EXPECT_EQ(readFile("C:\\none\\prein\\two.txt"), "22");
}

TEST_F(Reader, ExtractingOverAnExistingFileReplacesIt) {
  // In a folder of its own, so that what else the machine keeps on C: does not count.
  writeFile("C:\\out\\copy.txt", "an older and longer text");
  ASSERT_TRUE(returns(control().ExtractFile("in/one.txt", "C:\\out\\copy.txt", ""), 0));
  EXPECT_EQ(readFile("C:\\out\\copy.txt"), "1");
  EXPECT_EQ(folderNames("C:\\out"), (std::vector<std::string>{"copy.txt"}));
}

// Archives with names chosen by whoever made them, written with the writer directly.
class HostileNames : public ZipTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(HostileNames, NamesThatLeaveTheTargetFolderAreRefused) {
  {
    auto writer = ZipWriter::create(files(), "C:\\hostile.zip");
    ASSERT_TRUE(writer);
    ASSERT_EQ((*writer)->startEntry(GetParam(), EntryInfo{}, ""), platform::ERROR_SUCCESS);
    ASSERT_EQ((*writer)->writeEntryData(reinterpret_cast<const std::uint8_t*>("x"), 1),
              platform::ERROR_SUCCESS);
    ASSERT_EQ((*writer)->close(""), platform::ERROR_SUCCESS);
  }
  std::filesystem::create_directories(hostPath("C:\\box\\inner"));
  ASSERT_TRUE(returns(control().OpenZip("C:\\hostile.zip"), 0));
  EXPECT_TRUE(
      raises(control().ExtractFile(GetParam(), "C:\\box\\inner", ""), ZipError::FormatError));
  EXPECT_EQ(folderNames("C:\\box"), std::vector<std::string>{"inner"});
  EXPECT_TRUE(folderNames("C:\\box\\inner").empty());
  EXPECT_FALSE(exists("C:\\evil.txt"));
}

INSTANTIATE_TEST_SUITE_P(Names, HostileNames,
                         ::testing::Values("../evil.txt", "..\\evil.txt", "a/../../evil.txt",
                                           "/evil.txt", "\\evil.txt", "C:/evil.txt", "C:evil.txt",
                                           ".."));

class Passwords : public ZipTest {
 protected:
  void SetUp() override {
    writeFile("C:\\in\\secret.txt", textBytes(10000));
    ASSERT_TRUE(returns(control().CreateZip("C:\\locked.zip", ""), 0));
    ASSERT_TRUE(returns(control().AddFile("C:\\in\\secret.txt", "", false, "right"), 0));
    ASSERT_TRUE(returns(control().Close(), 0));
    ASSERT_TRUE(returns(control().OpenZip("C:\\locked.zip"), 0));
    writeFile("C:\\out\\secret.txt", "precious");
  }
  void expectTargetUntouched() {
    EXPECT_EQ(readFile("C:\\out\\secret.txt"), "precious");
    EXPECT_EQ(folderNames("C:\\out"), std::vector<std::string>{"secret.txt"});
  }
};

TEST_F(Passwords, TheRightPasswordExtracts) {
  EXPECT_TRUE(returns(control().IsCrypted(0), true));
  ASSERT_TRUE(returns(control().ExtractFile("secret.txt", "C:\\out", "right"), 0));
  EXPECT_EQ(readFile("C:\\out\\secret.txt"), textBytes(10000));
}

TEST_F(Passwords, NoPasswordOrAWrongOneRaisesAndLeavesTheTargetAsItWas) {
  EXPECT_TRUE(raises(control().ExtractFile("secret.txt", "C:\\out", ""), ZipError::NoPassword));
  expectTargetUntouched();
  // The header check lets about one wrong password in 256 through; the CRC-32 catches those.
  for (int i = 0; i < 600; ++i) {
    const std::string wrong = "wrong" + std::to_string(i);
    ASSERT_TRUE(
        raises(control().ExtractFile("secret.txt", "C:\\out", wrong), ZipError::WrongPassword))
        << wrong;
  }
  expectTargetUntouched();
  // And the reader is still there.
  EXPECT_TRUE(returns(control().FileCount(), 1));
}

TEST(DosDates, AutomationDatesOfDosStamps) {
  struct Row {
    std::uint16_t date;
    std::uint16_t time;
    double expected;
  };
  const auto stamp = [](int y, int mo, int d) {
    return static_cast<std::uint16_t>(d + 32 * mo + 512 * (y - 1980));
  };
  const auto clock = [](int h, int mi, int s) {
    return static_cast<std::uint16_t>(h * 2048 + mi * 32 + s / 2);
  };
  const Row rows[] = {
      {0, 0, 0.0},                                    // month 0
      {stamp(1980, 1, 1), 0, 29221.0},                // the first DOS day
      {stamp(2001, 6, 1), clock(12, 0, 0), 37043.5},  // noon
      {stamp(2000, 2, 29), clock(23, 59, 58), 36585.0 + 86398.0 / 86400.0},
      {stamp(2001, 2, 29), 0, 0.0},               // no such day
      {stamp(2001, 13, 1), 0, 0.0},               // no such month
      {stamp(2001, 6, 1), clock(24, 0, 0), 0.0},  // hour 24
      {stamp(2001, 6, 1), clock(1, 60, 0), 0.0},  // minute 60
      {stamp(2001, 6, 1), 30, 0.0},               // second 60
  };
  for (const Row& row : rows) {
    EXPECT_DOUBLE_EQ(automationDateFromDos({row.date, row.time}), row.expected)
        << row.date << " " << row.time;
  }
}

TEST(DosDates, TimesOutsideTheDosRangeAreClampedToIt) {
  EXPECT_EQ(dosFromCalendar({1975, 7, 4, 10, 30, 0}).date, dosFromCalendar({}).date);
  EXPECT_EQ(dosFromCalendar({1975, 7, 4, 10, 30, 0}).time, 0);
  const DosDateTime late = dosFromCalendar({2200, 1, 1, 0, 0, 0});
  EXPECT_DOUBLE_EQ(automationDateFromDos(late),
                   automationDateFromDos(dosFromCalendar({2107, 12, 31, 23, 59, 58})));
  const DosDateTime newYearsEve = dosFromCalendar({2003, 12, 31, 23, 59, 59});
  EXPECT_EQ((newYearsEve.date >> 5) & 0x0F, 12);
  EXPECT_EQ(newYearsEve.date & 0x1F, 31);
}

}  // namespace
}  // namespace parcelon::testing
