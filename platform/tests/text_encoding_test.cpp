#include "platform/text_encoding.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

TEST(TextEncoding, EveryAnsiByteSurvivesTheRoundTrips) {
  std::string all;
  for (int byte = 1; byte < 256; ++byte) all += static_cast<char>(byte);
  EXPECT_EQ(utf16ToAnsi(ansiToUtf16(all)), all);
  EXPECT_EQ(utf8ToAnsi(ansiToUtf8(all)), all);
}

TEST(TextEncoding, MapsTheWindowsCharacters) {
  EXPECT_EQ(ansiToUtf16("\x80\x92\xe9"), u"\u20ac\u2019\u00e9");
  EXPECT_EQ(ansiToUtf8("\x80 caf\xe9"), "\xe2\x82\xac caf\xc3\xa9");
  EXPECT_EQ(ansiToUtf16("\x81"), u"\u0081");  // undefined in the code page, kept as C1
}

TEST(TextEncoding, UnmappableCharactersBecomeQuestionMarks) {
  EXPECT_EQ(utf16ToAnsi(u"a\u4e2db"), "a?b");
  EXPECT_EQ(utf16ToAnsi(u"\U0001F600!"), "?!");  // a surrogate pair is one character
  EXPECT_EQ(utf16ToAnsi(u"\xd800x"), "?x");      // a lone surrogate
  EXPECT_EQ(utf8ToAnsi("\xe4\xb8\xad\xc3\xa9"), "?\xe9");
  EXPECT_EQ(utf8ToAnsi("a\xff\xc3"), "a??");  // invalid and truncated sequences
  EXPECT_EQ(utf8ToAnsi("\xc0\xaf"), "?");     // an overlong form is no character
}

TEST(TextEncoding, ComparesAndOrdersWithoutCase) {
  EXPECT_TRUE(ansiEqualNoCase("Documents and Settings", "DOCUMENTS AND SETTINGS"));
  EXPECT_TRUE(ansiEqualNoCase("\xe9t\xe9 \x9c\xff", "\xc9T\xc9 \x8c\x9f"));
  EXPECT_FALSE(ansiEqualNoCase("\xf7", "\xd7"));  // division and multiplication signs
  EXPECT_TRUE(ansiLessNoCase("apple", "Banana"));
  EXPECT_FALSE(ansiLessNoCase("B", "a"));
  EXPECT_FALSE(ansiLessNoCase("_x", "a"));  // upper-cased, 'A' comes before '_'
  EXPECT_TRUE(ansiLessNoCase("Z", "\xe9"));
}

}  // namespace
}  // namespace platform
