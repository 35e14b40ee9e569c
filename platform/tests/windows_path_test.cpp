#include "windows_path.h"

#include "platform/wildcard.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

struct ParseCase {
  const char* input;
  const char* expected;  // the full path, or nullptr when `status` is expected
  Status status = ERROR_SUCCESS;
};

void PrintTo(const ParseCase& parse, std::ostream* out) {
  *out << ::testing::PrintToString(std::string(parse.input));
}

class ParseWindowsPath : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseWindowsPath, GivesTheFullPathOrTheStatus) {
  WindowsPath current;
  current.drive = 'C';
  current.names = {"Work", "Sub"};
  const ParseCase& c = GetParam();
  auto parsed = parseWindowsPath(c.input, current);
  if (c.expected == nullptr) {
    EXPECT_EQ(parsed.status(), c.status) << c.input;
  } else {
    ASSERT_TRUE(parsed.ok()) << c.input << " status " << parsed.status();
    EXPECT_EQ(parsed->text(), c.expected) << c.input;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Forms, ParseWindowsPath,
    ::testing::Values(
        ParseCase{"C:\\Data\\x.doc", "C:\\Data\\x.doc"},
        ParseCase{"c:/data/x.doc", "C:\\data\\x.doc"}, ParseCase{"C:\\\\Data//\\x", "C:\\Data\\x"},
        ParseCase{"C:\\Data\\.\\x\\..\\y", "C:\\Data\\y"}, ParseCase{"C:\\..\\..\\x", "C:\\x"},
        ParseCase{"C:\\", "C:\\"}, ParseCase{"d:", "D:\\"}, ParseCase{"C:", "C:\\Work\\Sub"},
        ParseCase{"C:x.txt", "C:\\Work\\Sub\\x.txt"}, ParseCase{"D:x.txt", "D:\\x.txt"},
        ParseCase{"x.txt", "C:\\Work\\Sub\\x.txt"}, ParseCase{"..\\x.txt", "C:\\Work\\x.txt"},
        ParseCase{"\\x.txt", "C:\\x.txt"}, ParseCase{".", "C:\\Work\\Sub"},
        ParseCase{"Data. \\x.", "C:\\Work\\Sub\\Data\\x"},
        ParseCase{"\\\\Server\\Share", "\\\\Server\\Share"},
        ParseCase{"//server/share/a/../b", "\\\\server\\share\\b"},
        ParseCase{"\\\\server\\share\\..\\..", "\\\\server\\share"},
        ParseCase{"Z:\\work\\main", "Z:\\work\\main"}));

INSTANTIATE_TEST_SUITE_P(Refused, ParseWindowsPath,
                         ::testing::Values(ParseCase{"", nullptr, ERROR_PATH_NOT_FOUND},
                                           ParseCase{"C:\\a<b", nullptr, ERROR_INVALID_NAME},
                                           ParseCase{"C:\\a>b", nullptr, ERROR_INVALID_NAME},
                                           ParseCase{"C:\\a\"b", nullptr, ERROR_INVALID_NAME},
                                           ParseCase{"C:\\a|b", nullptr, ERROR_INVALID_NAME},
                                           ParseCase{"C:\\a:b", nullptr, ERROR_INVALID_NAME},
                                           ParseCase{"C:\\a*\\b", nullptr, ERROR_INVALID_NAME},
                                           ParseCase{"C:\\a?", nullptr, ERROR_INVALID_NAME},
                                           ParseCase{"C:\\tab\there", nullptr, ERROR_INVALID_NAME},
                                           ParseCase{"1:\\x", nullptr, ERROR_INVALID_NAME},
                                           ParseCase{"\\\\server", nullptr, ERROR_BAD_PATHNAME},
                                           ParseCase{"\\\\?\\C:\\x", nullptr, ERROR_INVALID_NAME},
                                           ParseCase{"\\\\.\\pipe\\x", nullptr,
                                                     ERROR_INVALID_NAME}));

TEST(ParseWindowsPathWildcards, AllowedOnlyInTheLastNameWhenAsked) {
  WindowsPath current;
  EXPECT_TRUE(parseWindowsPath("C:\\Data\\*.doc", current, Wildcards::AllowInLast).ok());
  EXPECT_EQ(parseWindowsPath("C:\\D*\\x.doc", current, Wildcards::AllowInLast).status(),
            ERROR_INVALID_NAME);
  EXPECT_EQ(parseWindowsPath("C:\\Data\\*.doc", current).status(), ERROR_INVALID_NAME);
}

TEST(SplitLastName, KeepsTheRootOfTheFolderPart) {
  using Split = std::pair<std::string, std::string>;
  EXPECT_EQ(splitLastName("C:\\Data\\*.doc"), Split("C:\\Data", "*.doc"));
  EXPECT_EQ(splitLastName("C:\\x"), Split("C:\\", "x"));
  EXPECT_EQ(splitLastName("C:x"), Split("C:", "x"));
  EXPECT_EQ(splitLastName("\\x"), Split("\\", "x"));
  EXPECT_EQ(splitLastName("x"), Split("", "x"));
  EXPECT_EQ(splitLastName("C:\\Data\\"), Split("C:\\Data", ""));
}

struct WildcardCase {
  const char* pattern;
  const char* name;
  bool matches;
};

void PrintTo(const WildcardCase& wildcard, std::ostream* out) {
  *out << wildcard.pattern << " ~ " << wildcard.name;
}

class MatchesWildcard : public ::testing::TestWithParam<WildcardCase> {};

TEST_P(MatchesWildcard, ComparesWithoutCase) {
  const WildcardCase& c = GetParam();
  EXPECT_EQ(matchesWildcard(c.pattern, c.name), c.matches) << c.pattern << " " << c.name;
}

INSTANTIATE_TEST_SUITE_P(Patterns, MatchesWildcard,
                         ::testing::Values(WildcardCase{"*", "anything.txt", true},
                                           WildcardCase{"*.*", "noextension", true},
                                           WildcardCase{"*.doc", "Report.DOC", true},
                                           WildcardCase{"*.doc", "report.docx", false},
                                           WildcardCase{"r?p*.d*", "report.doc", true},
                                           WildcardCase{"a*b*c", "axxbyyc", true},
                                           WildcardCase{"a*b*c", "axxbyy", false},
                                           WildcardCase{"?", "", false},
                                           WildcardCase{"\xe9t\xe9.txt", "\xc9T\xc9.TXT", true}));

}  // namespace
}  // namespace platform
