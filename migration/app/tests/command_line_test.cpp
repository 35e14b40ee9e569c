// The argument text Windows would hand the program for the arguments it was started with.
#include <gtest/gtest.h>

#include "app/command_line.h"

namespace app {
namespace {

struct JoinCase {
  std::vector<std::string> arguments;
  std::string line;
};

void PrintTo(const JoinCase& join, std::ostream* out) { *out << join.line; }

class JoinCommandLineTest : public ::testing::TestWithParam<JoinCase> {};

TEST_P(JoinCommandLineTest, QuotesOnlyWhatWindowsWouldSplitOtherwise) {
  EXPECT_EQ(joinCommandLine(GetParam().arguments), GetParam().line);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, JoinCommandLineTest,
    ::testing::Values(JoinCase{{}, ""}, JoinCase{{"auto"}, "auto"},
                      JoinCase{{"auto", "restore"}, "auto restore"},
                      JoinCase{{"C:\\My Files\\"}, "\"C:\\My Files\\\\\""},
                      JoinCase{{""}, "\"\""},
                      JoinCase{{"say \"hi\""}, "\"say \\\"hi\\\"\""},
                      JoinCase{{"a\\b"}, "a\\b"}));

}  // namespace
}  // namespace app
