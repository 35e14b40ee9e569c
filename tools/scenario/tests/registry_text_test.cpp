#include "registry_text.h"

#include <gtest/gtest.h>

namespace scenario {
namespace {

RegistryData parsed(const std::string& line) {
  std::string error;
  const auto words = splitWords(line, error);
  EXPECT_TRUE(words) << error;
  const auto data = parseRegistryData(words.value_or(std::vector<Word>{}), error);
  EXPECT_TRUE(data) << line << ": " << error;
  return data.value_or(RegistryData{});
}

// A value line reads back as the same line, so that an actual line can be pasted as expected.
TEST(RegistryTextTest, ValuesPrintAsTheyAreWritten) {
  for (const char* line :
       {"sz \"C:\\x.bmp\"", "sz \"abc\" unterminated", "sz \"a<NUL>b\"", "expand_sz \"%windir%\"",
        "multi_sz \"a\" \"b\"", "multi_sz", "dword 26", "binary 0a,ff", "binary", "none"}) {
    EXPECT_EQ(registryDataText(parsed(line)), line);
  }
}

// Multi-string data that the friendly form cannot say exactly shows its bytes, so that a wrong
// terminator or an empty string inside is not hidden.
TEST(RegistryTextTest, MultiStringsThatCannotBeWrittenShowTheirBytes) {
  const auto text = [](std::string bytes) {
    return registryDataText({platform::REG_MULTI_SZ, std::move(bytes)});
  };
  EXPECT_EQ(text(std::string("a\0b\0\0", 5)), "multi_sz \"a\" \"b\"");
  EXPECT_EQ(text(std::string("a\0b\0", 4)), "hex(7) 61,00,62,00");
  EXPECT_EQ(text(std::string("a\0\0b\0\0", 6)), "hex(7) 61,00,00,62,00,00");
  EXPECT_EQ(text("ab"), "hex(7) 61,62");
  EXPECT_EQ(text(std::string(1, '\0')), "multi_sz");
  EXPECT_EQ(text(""), "hex(7)");
}

}  // namespace
}  // namespace scenario
