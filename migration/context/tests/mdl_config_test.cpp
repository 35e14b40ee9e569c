#include "context/mdl_config.h"

#include <gtest/gtest.h>

#include "testing/test_program.h"

namespace migration {
namespace {

TEST(MdlConfigTest, SplitsAtEveryComma) {
  using List = std::vector<std::string>;
  EXPECT_EQ(splitCommaList(""), List{});
  EXPECT_EQ(splitCommaList("c:\\winnt"), List{"c:\\winnt"});
  EXPECT_EQ(splitCommaList("a,,b"), (List{"a", "", "b"}));
  EXPECT_EQ(splitCommaList("a,"), (List{"a", ""}));
  EXPECT_EQ(splitCommaList(","), (List{"", ""}));
  EXPECT_EQ(splitCommaList(" a , b"), (List{" a ", " b"}));
  EXPECT_EQ(joinCommaList({"a", "", "b"}), "a,,b");
}

TEST(MdlConfigTest, FileTexts) {
  testing::TestProgram test;
  test.writeFile("C:\\x.doc", std::string(1536, 'x'));
  // 6/1/2001 15:04:05 UTC, shown in a zone four hours behind.
  const platform::FileTime written = 126'358'814'450'000'000ULL;
  ASSERT_EQ(test.files().setLastWriteTime("C:\\x.doc", written), platform::ERROR_SUCCESS);
  test.setRegistryDword(platform::HKEY_LOCAL_MACHINE,
                        "SYSTEM\\CurrentControlSet\\Control\\TimeZoneInformation", "ActiveTimeBias",
                        240);

  EXPECT_EQ(FileSizeKBText(test.program(), "C:\\x.doc"), "1.5");
  EXPECT_EQ(FileModifiedText(test.program(), "C:\\x.doc"), "6/1/2001 11:04:05 AM");
  EXPECT_EQ(FileSizeKBText(test.program(), "C:\\missing.doc"), "0");
  EXPECT_EQ(FileModifiedText(test.program(), "C:\\missing.doc"), "12:00:00 AM");
  EXPECT_EQ(FileModifiedText(test.program(), "Q:\\no drive.doc"), "12:00:00 AM");
}

}  // namespace
}  // namespace migration
