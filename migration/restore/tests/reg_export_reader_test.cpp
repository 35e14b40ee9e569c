#include "restore/reg_export_reader.h"

#include <gtest/gtest.h>

#include "capture/reg_value_line.h"
#include "platform/text_encoding.h"

namespace migration {
namespace {

constexpr const char* kKey = "HKEY_CURRENT_USER\\Software\\Sample";

// Text as the registry keeps it, with its NUL.
std::string sz(const std::string& text) { return text + '\0'; }

std::string exportOf(const std::string& valueLines) {
  return "REGEDIT4\r\n\r\n[" + std::string(kKey) + "]\r\n" + valueLines + "\r\n";
}

// Every value the capture writes comes back with its type and bytes.
TEST(RegExportReaderTest, ReadsBackEveryValueTheCaptureWrites) {
  using platform::DWORD;
  const std::string longText = "%SystemRoot%\\" + std::string(300, 'x') + std::string(1, '\0');
  const struct {
    std::string name;
    DWORD type;
    std::string data;
  } values[] = {
      {"Plain", platform::REG_SZ, sz("text")},
      {"Path \"quoted\"", platform::REG_SZ, sz("\\\\server\\share \"x\"")},
      {"Empty", platform::REG_SZ, sz("")},
      {"", platform::REG_SZ, sz("default")},
      {"Count", platform::REG_DWORD, std::string("\x1a\x00\x00\x80", 4)},
      {"Bits", platform::REG_BINARY, std::string("\x0a\xff\x00", 3)},
      {"NoBits", platform::REG_BINARY, ""},
      {"Expand", platform::REG_EXPAND_SZ, longText},
      {"Multi", platform::REG_MULTI_SZ, std::string("a\0b\0\0", 5)},
      {"Unterminated", platform::REG_SZ, "no NUL"},
      {"Two lines", platform::REG_SZ, sz("a\r\nb")},
      {"Quad", platform::REG_QWORD, std::string("\x88\x77\x66\x55\x44\x33\x22\x11", 8)},
      {"Odd type", 0x100, "?"},
  };
  std::string lines;
  for (const auto& value : values) {
    ASSERT_TRUE(AppendValueLine(lines, value.name, value.type, value.data)) << value.name;
  }
  const ExportContents read = ReadRegistryExport(exportOf(lines));
  ASSERT_TRUE(read.isRegistryFile);
  EXPECT_TRUE(read.problems.empty()) << read.problems.front();
  ASSERT_EQ(read.values.size(), std::size(values));
  for (std::size_t i = 0; i < read.values.size(); ++i) {
    SCOPED_TRACE(values[i].name);
    EXPECT_EQ(read.values[i].key, kKey);
    EXPECT_EQ(read.values[i].name, values[i].name);
    EXPECT_EQ(read.values[i].type, values[i].type);
    EXPECT_EQ(read.values[i].data, values[i].data);
  }
}

TEST(RegExportReaderTest, PassesOverWhatCarriesNoValueAndNamesWhatItCannotRead) {
  const struct {
    const char* text;
    std::size_t values;
    std::size_t problems;
  } cases[] = {
      {"REGEDIT5\r\n[HKEY_CURRENT_USER\\X]\r\n\"a\"=\"b\"\r\n", 0, 0},  // no registry file
      {"Windows Registry Editor Version 5.00\r\n[HKEY_CURRENT_USER\\X]\r\n\"a\"=\"b\"\r\n", 1, 0},
      {"REGEDIT4\n; comment\n\n[HKEY_CURRENT_USER\\X]\n\"a\"=dword:1 ; note\n", 1, 0},
      {"REGEDIT4\r\n\"before\"=\"any key\"\r\n", 0, 0},
      {"REGEDIT4\r\n[-HKEY_CURRENT_USER\\X]\r\n\"a\"=\"b\"\r\n", 0, 0},
      {"REGEDIT4\r\n[HKEY_CURRENT_USER\\X]\r\n\"a\"=-\r\n", 0, 0},
      {"REGEDIT4\r\n[HKEY_CURRENT_USER\\X]\r\n\"a\"=dword:123456789\r\n", 0, 1},
      {"REGEDIT4\r\n[HKEY_CURRENT_USER\\X]\r\n\"a\"=\"open\r\n", 0, 1},
      {"REGEDIT4\r\n[HKEY_CURRENT_USER\\X]\r\n\"a\"=\"x\"y\"\r\n", 0, 1},  // an unescaped quote
      {"REGEDIT4\r\n[HKEY_CURRENT_USER\\X]\r\n\"a\"=hex:0a,zz\r\n\"b\"=hex:01\r\n", 1, 1},
      {"REGEDIT4\r\n[HKEY_CURRENT_USER\\X]\r\n\"a\"=hex(2):41,\\\r\n\"b\"=\"c\"\r\n", 1, 1},
      {"REGEDIT4\r\n[HKEY_CURRENT_USER\\X\r\n\"a\"=\"b\"\r\n", 0, 1},  // no closing bracket
  };
  for (const auto& c : cases) {
    const ExportContents read = ReadRegistryExport(c.text);
    EXPECT_EQ(read.values.size(), c.values) << c.text;
    EXPECT_EQ(read.problems.size(), c.problems) << c.text;
  }
}

TEST(RegExportReaderTest, AUnicodeFileIsReadAsTheTextItHolds) {
  const std::string text =
      "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\X]\r\n\"a\"=\"b\"\r\n";
  const ExportContents read =
      ReadRegistryExport("\xff\xfe" + platform::utf16ToLittleEndian(platform::ansiToUtf16(text)));
  ASSERT_EQ(read.values.size(), 1u);
  EXPECT_EQ(read.values[0].key, "HKEY_CURRENT_USER\\X");
  EXPECT_EQ(read.values[0].data, sz("b"));
}

TEST(RegExportReaderTest, AValueGivenTwiceCountsOnceWithItsLastData) {
  const ExportContents read = ReadRegistryExport(
      "REGEDIT4\r\n[HKEY_CURRENT_USER\\X]\r\n\"a\"=\"1\"\r\n\"b\"=hex:01,\\\r\n  02\r\n"
      "[hkey_current_user\\x]\r\n\"A\"=\"2\"\r\n");
  ASSERT_EQ(read.values.size(), 2u);
  EXPECT_EQ(read.values[0].data, sz("2"));
  EXPECT_EQ(read.values[1].data, "\x01\x02");
}

}  // namespace
}  // namespace migration
