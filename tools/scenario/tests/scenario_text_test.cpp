#include "scenario_text.h"

#include <gtest/gtest.h>

#include "forms/control.h"
#include "text_diff.h"

namespace scenario {
namespace {

TEST(ScenarioTextTest, QuotedTextsReadBackUnchanged) {
  for (const std::string& text : {std::string("C:\\Program Files\\x"), std::string("say \"hi\""),
                                  std::string(""), std::string("1\r\n2\t\0\x1b", 7),
                                  std::string("<CR> <LF> <x41> <b> <"), std::string("\\r\\n")}) {
    std::string error;
    const auto words = splitWords("type txtUser " + forms::quoted(text), error);
    ASSERT_TRUE(words) << error;
    ASSERT_EQ(words->size(), 3u);
    EXPECT_TRUE((*words)[2].quoted);
    EXPECT_EQ((*words)[2].text, text);
  }
}

TEST(ScenarioTextTest, SplitsQuestionFromAnswerOutsideQuotes) {
  std::string left, right;
  ASSERT_TRUE(splitAtEquals("txtUser = \"a = b\"", left, right));
  EXPECT_EQ(left, "txtUser");
  EXPECT_EQ(right, "\"a = b\"");
  ASSERT_TRUE(splitAtEquals("reg HKCU\\X \"n = \"\"m\"\"\" = sz \"v\"", left, right));
  EXPECT_EQ(left, "reg HKCU\\X \"n = \"\"m\"\"\"");
  EXPECT_EQ(right, "sz \"v\"");
  EXPECT_FALSE(splitAtEquals("program", left, right));
  std::string error;
  EXPECT_FALSE(splitWords("type x \"open", error));
}

TEST(TextDiffTest, PairsEachExpectedLineWithItsReplacement) {
  const auto diff =
      diffLines({"a", "b", "c", "d"}, {"1", "2", "3", "4"}, {"a", "B", "C", "d", "e"});
  std::string kinds;
  for (const DiffLine& line : diff) kinds += std::string(1, line.kind) + line.text + " ";
  EXPECT_EQ(kinds, " a -b +B -c +C  d +e ");
  EXPECT_EQ(formatDiff(diffLines({"a"}, {"1"}, {"a"})), "");
}

}  // namespace
}  // namespace scenario
