#include "context/regional_format.h"

#include <gtest/gtest.h>

#include "platform/clock.h"
#include "testing/test_program.h"

namespace migration {

void PrintTo(const LocalDateTime& v, std::ostream* out) {
  *out << v.year << "-" << v.month << "-" << v.day << " " << v.hour << ":" << v.minute << ":"
       << v.second;
}

namespace {

struct KilobytesCase {
  std::uint64_t bytes;
  const char* text;
};
void PrintTo(const KilobytesCase& c, std::ostream* out) { *out << c.bytes; }

class KilobytesTest : public ::testing::TestWithParam<KilobytesCase> {};

TEST_P(KilobytesTest, RoundsToOneDecimalHalvesToEven) {
  EXPECT_EQ(RegionalFormat().kilobytes(GetParam().bytes), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Sizes, KilobytesTest,
                         ::testing::Values(KilobytesCase{0, "0"}, KilobytesCase{51, "0"},
                                           KilobytesCase{52, "0.1"}, KilobytesCase{100, "0.1"},
                                           KilobytesCase{1536, "1.5"}, KilobytesCase{2048, "2"},
                                           // Exact halves of a tenth go to the even digit.
                                           KilobytesCase{256, "0.2"}, KilobytesCase{768, "0.8"},
                                           KilobytesCase{1280, "1.2"}, KilobytesCase{1792, "1.8"},
                                           KilobytesCase{10'485'760, "10240"},
                                           KilobytesCase{1'048'575, "1024"}));

struct DateCase {
  LocalDateTime value;
  const char* general;
  const char* shortDate;
};
void PrintTo(const DateCase& c, std::ostream* out) { *out << c.general; }

class DateTextTest : public ::testing::TestWithParam<DateCase> {};

TEST_P(DateTextTest, GeneralDateAndShortDate) {
  const DateCase& c = GetParam();
  EXPECT_EQ(RegionalFormat().generalDate(c.value), c.general);
  EXPECT_EQ(RegionalFormat().shortDate(c.value), c.shortDate);
}

INSTANTIATE_TEST_SUITE_P(
    EnglishUnitedStates, DateTextTest,
    ::testing::Values(DateCase{{2001, 6, 1, 15, 4, 5}, "6/1/2001 3:04:05 PM", "6/1/2001"},
                      DateCase{{2001, 6, 1, 0, 0, 0}, "6/1/2001", "6/1/2001"},
                      DateCase{{2001, 12, 31, 12, 0, 0}, "12/31/2001 12:00:00 PM", "12/31/2001"},
                      DateCase{{2000, 2, 29, 0, 0, 1}, "2/29/2000 12:00:01 AM", "2/29/2000"},
                      // The zero date shows its time alone.
                      DateCase{{1899, 12, 30, 0, 0, 0}, "12:00:00 AM", "12/30/1899"},
                      DateCase{{1899, 12, 30, 13, 5, 0}, "1:05:00 PM", "12/30/1899"}));

TEST(RegionalFormatTest, LocalTimeUsesTheBias) {
  const platform::FileTime noonUtc = 126'358'704'000'000'000ULL;  // 6/1/2001 12:00 UTC
  EXPECT_EQ(RegionalFormat(0).localTime(noonUtc), (LocalDateTime{2001, 6, 1, 12, 0, 0}));
  EXPECT_EQ(RegionalFormat(240).localTime(noonUtc), (LocalDateTime{2001, 6, 1, 8, 0, 0}));
  EXPECT_EQ(RegionalFormat(-120).localTime(noonUtc), (LocalDateTime{2001, 6, 1, 14, 0, 0}));
  EXPECT_EQ(RegionalFormat(780).localTime(noonUtc), (LocalDateTime{2001, 5, 31, 23, 0, 0}));
}

TEST(RegionalFormatTest, BiasComesFromTheMachinesTimeZone) {
  constexpr const char* kKey = "SYSTEM\\CurrentControlSet\\Control\\TimeZoneInformation";
  testing::TestProgram test;
  EXPECT_EQ(RegionalFormat::ofMachine(test.machine().registry()).biasMinutes(), 0);
  test.setRegistryDword(platform::HKEY_LOCAL_MACHINE, kKey, "Bias", 300);
  EXPECT_EQ(RegionalFormat::ofMachine(test.machine().registry()).biasMinutes(), 300);
  // The active bias includes daylight saving time and wins; negative biases are stored as DWORDs.
  test.setRegistryDword(platform::HKEY_LOCAL_MACHINE, kKey, "ActiveTimeBias",
                        static_cast<std::uint32_t>(-60));
  EXPECT_EQ(RegionalFormat::ofMachine(test.machine().registry()).biasMinutes(), -60);
}

// The user's regional settings decide the texts: a decimal comma and a day-first date, a
// 24-hour time with its own separator; the time zone's bias still moves the clock.
TEST(RegionalFormatTest, TextsFollowTheUsersRegionalSettings) {
  constexpr const char* kKey = "Control Panel\\International";
  testing::TestProgram test;
  test.setRegistryText(platform::HKEY_CURRENT_USER, kKey, "sDecimal", ",");
  test.setRegistryText(platform::HKEY_CURRENT_USER, kKey, "sShortDate", "dd.MM.yyyy");
  test.setRegistryText(platform::HKEY_CURRENT_USER, kKey, "sTimeFormat", "HH:mm:ss");
  const RegionalFormat format = RegionalFormat::ofMachine(test.machine().registry());
  EXPECT_EQ(format.kilobytes(1536), "1,5");
  EXPECT_EQ(format.shortDate({2001, 6, 3, 9, 4, 5}), "03.06.2001");
  EXPECT_EQ(format.generalDate({2001, 6, 3, 15, 4, 5}), "03.06.2001 15:04:05");
  EXPECT_EQ(RegionalFormat(0, {"yy-M-d 'week' d", "h.mm tt", "am", "pm", "."})
                .generalDate({2001, 6, 3, 0, 4, 5}),
            "01-6-3 week 3 12.04 am");
}

}  // namespace
}  // namespace migration
