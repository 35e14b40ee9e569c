#include "text_scan.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

TEST(TextScan, HexTypeTagsWithinThirtyTwoBits) {
  struct Case {
    const char* text;
    std::optional<std::uint32_t> type;
  };
  const Case cases[] = {
      {"hex(b):88", 0xB},      {"hex(0):", 0},   {"hex(FFFFFFFF):", 0xFFFFFFFFu},
      {"hex(100000000):", {}}, {"hex():01", {}}, {"hex(b)01", {}},
      {"hex(g):", {}},         {"hex:01", {}},   {"HEX(1):", {}},
  };
  for (const Case& c : cases) {
    const auto tag = readHexTypeTag(c.text);
    ASSERT_EQ(tag.has_value(), c.type.has_value()) << c.text;
    if (tag) {
      EXPECT_EQ(tag->type, *c.type) << c.text;
      EXPECT_EQ(std::string_view(c.text).substr(tag->length - 2, 2), "):") << c.text;
    }
  }
}

TEST(TextScan, SkipsOnlyTheBlanksNamed) {
  EXPECT_EQ(skipBlanks(" \t x "), "x ");
  EXPECT_EQ(skipBlanks("\r x"), "\r x");
  EXPECT_EQ(skipBlanks("\r\v\f x", " \t\r\v\f"), "x");
  EXPECT_EQ(skipBlanks("   "), "");
}

}  // namespace
}  // namespace platform
