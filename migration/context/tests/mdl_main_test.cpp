#include "context/mdl_main.h"

#include <gtest/gtest.h>

#include "testing/test_program.h"

namespace migration {
namespace {

struct ReplaceCase {
  const char* source;
  const char* search;
  const char* replacement;
  const char* result;
};
void PrintTo(const ReplaceCase& c, std::ostream* out) { *out << c.source; }

class ReplaceTextTest : public ::testing::TestWithParam<ReplaceCase> {};

TEST_P(ReplaceTextTest, ReplacesEveryOccurrenceLeftToRight) {
  const ReplaceCase& c = GetParam();
  EXPECT_EQ(ReplaceText(c.source, c.search, c.replacement), c.result);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReplaceTextTest,
    ::testing::Values(ReplaceCase{"Data/Sub/x.doc", "/", "\\", "Data\\Sub\\x.doc"},
                      ReplaceCase{"", "/", "\\", ""},
                      ReplaceCase{"no match", "/", "\\", "no match"},
                      ReplaceCase{"aaa", "aa", "b", "ba"},          // no overlaps
                      ReplaceCase{"aXa", "a", "aa", "aaXaa"},       // inserted text not searched
                      ReplaceCase{"ABC abc", "b", "_", "ABC a_c"},  // letter case counts
                      ReplaceCase{"abcabc", "abc", "", ""},
                      ReplaceCase{"C:\\x\\", "\\", "\\\\", "C:\\\\x\\\\"}));

// An environment whose user name the test sets.
class FixedEnvironment final : public platform::Environment {
 public:
  explicit FixedEnvironment(platform::Result<std::string> name) : m_name(std::move(name)) {}
  std::optional<std::string> variable(const std::string&) override { return std::nullopt; }
  std::map<std::string, std::string> variables() override { return {}; }
  platform::Result<std::string> userName() override { return m_name; }

 private:
  platform::Result<std::string> m_name;
};

TEST(SystemUsernameTest, NameOrEmpty) {
  FixedEnvironment plain(std::string("jsmith"));
  EXPECT_EQ(System::Username(plain), "jsmith");
  FixedEnvironment withNul(std::string("jsmith\0junk", 11));
  EXPECT_EQ(System::Username(withNul), "jsmith");
  FixedEnvironment failing(platform::Result<std::string>::failure(platform::ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(System::Username(failing), "");
  // The 50-character buffer holds 49 characters and the NUL.
  FixedEnvironment longest(std::string(49, 'a'));
  EXPECT_EQ(System::Username(longest), std::string(49, 'a'));
  FixedEnvironment tooLong(std::string(50, 'a'));
  EXPECT_EQ(System::Username(tooLong), "");
}

TEST(MdlMainTest, EnvironmentVariables) {
  testing::TestProgram test;
  test.setRegistryText(platform::HKEY_CURRENT_USER, "Environment", "TEMP", "C:\\Temp");
  EXPECT_EQ(GetEnvVar(test.program(), "temp"), "C:\\Temp");
  EXPECT_EQ(GetEnvVar(test.program(), "NOT_SET"), "");
}

TEST(MdlMainTest, NetworkDrives) {
  testing::TestProgram test;
  test.addDrive('f');
  test.setRegistryText(platform::HKEY_LOCAL_MACHINE, "Software\\Wine\\Drives", "f:", "network");
  EXPECT_TRUE(IsNetworkDrive(test.program(), "F:"));
  EXPECT_TRUE(IsNetworkDrive(test.program(), "f:"));
  EXPECT_FALSE(IsNetworkDrive(test.program(), "C:"));
  EXPECT_FALSE(IsNetworkDrive(test.program(), "Q:"));
  EXPECT_FALSE(IsNetworkDrive(test.program(), ""));
}

}  // namespace
}  // namespace migration
