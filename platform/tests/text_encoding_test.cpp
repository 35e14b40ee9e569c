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
  // Beyond U+FFFF a character is two UTF-16 units: two question marks, as Windows and Wine give.
  EXPECT_EQ(utf16ToAnsi(u"\U0001F600x"), "??x");
  EXPECT_EQ(utf8ToAnsi("\xf0\x9f\x98\x80x"), "??x");
  EXPECT_EQ(utf16ToAnsi(u"\xd800x"), "?x");      // a lone surrogate
  EXPECT_EQ(utf8ToAnsi("\xe4\xb8\xad\xc3\xa9"), "?\xe9");
  EXPECT_EQ(utf8ToAnsi("a\xff\xc3"), "a??");  // invalid and truncated sequences
  EXPECT_EQ(utf8ToAnsi("\xc0\xaf"), "?");     // an overlong form is no character
}

TEST(TextEncoding, DecodesOneUtf8SequenceAndItsLength) {
  struct Case {
    std::string_view text;
    char32_t codePoint;
    std::size_t length;
    bool valid;
  };
  const Case cases[] = {
      {"A", U'A', 1, true},
      {"\xc3\xa9x", U'\u00e9', 2, true},
      {"\xe2\x82\xac", U'\u20ac', 3, true},
      {"\xf0\x9f\x8c\x8e", U'\U0001F30E', 4, true},
      {"\xc3", 0, 1, false},               // cut short
      {"\xe2\x82x", 0, 1, false},          // broken by a byte that does not continue it
      {"\x80", 0, 1, false},               // a continuation byte alone
      {"\xc0\xaf", 0x2F, 2, false},        // overlong: its whole length
      {"\xed\xa0\x80", 0xD800, 3, false},  // a surrogate
  };
  for (const Case& c : cases) {
    const Utf8Sequence sequence = decodeUtf8(c.text);
    EXPECT_EQ(sequence.valid, c.valid) << ::testing::PrintToString(std::string(c.text));
    EXPECT_EQ(sequence.length, c.length) << ::testing::PrintToString(std::string(c.text));
    if (c.valid || c.length > 1) {
      EXPECT_EQ(sequence.codePoint, c.codePoint);
    }
  }
}

TEST(TextEncoding, Utf16LittleEndianBytes) {
  EXPECT_EQ(utf16ToLittleEndian(u"A\u20ac"), std::string("A\0\xac\x20", 4));
  EXPECT_EQ(utf16FromLittleEndian(std::string("A\0\xac\x20\x01", 5)), u"A\u20ac");
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
