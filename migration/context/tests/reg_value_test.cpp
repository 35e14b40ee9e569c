#include "context/reg_value.h"

#include <gtest/gtest.h>

namespace migration {
namespace {

struct IntegerCase {
  const char* text;
  std::optional<std::int32_t> number;
};
void PrintTo(const IntegerCase& c, std::ostream* out) { *out << '"' << c.text << '"'; }

class TextToIntegerTest : public ::testing::TestWithParam<IntegerCase> {};

TEST_P(TextToIntegerTest, WholeNumbersOnly) {
  EXPECT_EQ(textToInteger(GetParam().text), GetParam().number);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TextToIntegerTest,
    ::testing::Values(IntegerCase{"4", 4}, IntegerCase{" 4 ", 4}, IntegerCase{"+1", 1},
                      IntegerCase{"-1", -1}, IntegerCase{"007", 7},
                      IntegerCase{"2147483647", 2147483647},
                      IntegerCase{"-2147483648", -2147483647 - 1},
                      // Out of range, empty, blank, partly a number, a fraction, two signs.
                      IntegerCase{"2147483648", std::nullopt}, IntegerCase{"", std::nullopt},
                      IntegerCase{"   ", std::nullopt}, IntegerCase{"4x", std::nullopt},
                      IntegerCase{"4.0", std::nullopt}, IntegerCase{"1 2", std::nullopt},
                      IntegerCase{"+", std::nullopt}, IntegerCase{"+-1", std::nullopt}));

TEST(RegValueTest, TextAndFinalNul) {
  EXPECT_EQ(RegValue().toText(), "");
  EXPECT_EQ(RegValue(-26).toText(), "-26");
  EXPECT_EQ(withoutFinalNul(std::string("abc\0", 4)), "abc");
  // Only one NUL goes: a value that was a NUL alone still starts with one.
  EXPECT_EQ(withoutFinalNul(std::string("\0\0", 2)), std::string(1, '\0'));
  EXPECT_EQ(withoutFinalNul(""), "");
}

}  // namespace
}  // namespace migration
