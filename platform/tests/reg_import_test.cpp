// Importing .reg files as `regedit /s` does, into the simulated machine's registry.
#include "reg_import.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/testing/temporary_machine_root.h"
#include "native_registry.h"

namespace platform {
namespace {

class RegImportTest : public ::testing::Test {
 protected:
  RegImportTest() : m_registry(std::make_unique<NativeRegistry>(m_root.path())) {}

  RegImportOutcome import(const std::string& text) { return importRegFile(*m_registry, text); }

  bool keyExists(HKEY root, const char* path) {
    HKEY key = 0;
    if (m_registry->RegOpenKeyExA(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    EXPECT_EQ(m_registry->RegCloseKey(key), ERROR_SUCCESS);
    return true;
  }

  // The value's type and data, or type 0xFFFFFFFF when it is missing.
  std::pair<DWORD, std::string> value(HKEY root, const char* path, const char* name) {
    HKEY key = 0;
    if (m_registry->RegOpenKeyExA(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS) {
      return {0xFFFFFFFF, "(no key)"};
    }
    DWORD type = 0;
    DWORD size = 0;
    std::string data;
    if (m_registry->RegQueryValueExA(key, name, &type, nullptr, &size) == ERROR_SUCCESS) {
      data.resize(size);
      EXPECT_EQ(m_registry->RegQueryValueExA(key, name, &type, reinterpret_cast<BYTE*>(data.data()),
                                             &size),
                ERROR_SUCCESS);
    } else {
      type = 0xFFFFFFFF;
    }
    EXPECT_EQ(m_registry->RegCloseKey(key), ERROR_SUCCESS);
    return {type, data};
  }
  std::pair<DWORD, std::string> sz(std::string text) { return {REG_SZ, text + '\0'}; }
  std::pair<DWORD, std::string> missing() { return {0xFFFFFFFF, ""}; }

  testing::TemporaryMachineRoot m_root;
  std::unique_ptr<NativeRegistry> m_registry;
};

constexpr char kKey[] = "Software\\Import";

TEST_F(RegImportTest, OnlyAKnownHeaderImports) {
  for (const char* header : {"REGEDIT", "REGEDIT 4", "REGEDIT5", "Windows Registry Editor 5.00", "",
                             "[HKEY_CURRENT_USER\\Software\\Import]"}) {
    SCOPED_TRACE(header);
    const RegImportOutcome outcome = import(
        std::string(header) + "\r\n[HKEY_CURRENT_USER\\Software\\Import]\r\n\"a\"=\"1\"\r\n");
    EXPECT_FALSE(outcome.imported);
    EXPECT_FALSE(keyExists(HKEY_CURRENT_USER, kKey));
  }
  for (const char* header : {"REGEDIT4", "Windows Registry Editor Version 5.00", "  REGEDIT4"}) {
    SCOPED_TRACE(header);
    EXPECT_TRUE(import(std::string(header) + "\n").imported);
  }
}

TEST_F(RegImportTest, EveryValueForm) {
  const RegImportOutcome outcome = import(
      "REGEDIT4\r\n"
      "\r\n"
      "; a comment\r\n"
      "[HKEY_CURRENT_USER\\Software\\Import]\r\n"
      "@=\"default\"\r\n"
      "\"Dir\"=\"C:\\\\Data\\\\Sample\"\r\n"
      "\"Unc\"=\"\\\\server\\share\"\r\n"
      "\"Escapes\"=\"q\\\"uote\\\" line\\nbreak\\r\\t\\0 end\"\r\n"
      "  \"Blanks\"  =  \"around\"   ; and a comment\r\n"
      "\"Count\"=dword:0000001A\r\n"
      "\"Short\"=dword:1a2b\r\n"
      "\"Bits\"=hex:01,ab,00\r\n"
      "\"Empty\"=hex:\r\n"
      "\"Expand\"=hex(2):25,53,79,73,25,00\r\n"
      "\"NoNul\"=hex(2):61,62\r\n"
      "\"Multi\"=hex(7):61,00,62,00,00\r\n"
      "\"Qword\"=hex(b):88,77,66,55,\\\r\n"
      "  ; a comment inside\r\n"
      "\r\n"
      "  44,33,22,11\r\n"
      "\"Type0\"=hex(0):\r\n");
  EXPECT_TRUE(outcome.imported);
  EXPECT_TRUE(outcome.problems.empty()) << outcome.problems.front();
  const HKEY hkcu = HKEY_CURRENT_USER;
  EXPECT_EQ(value(hkcu, kKey, ""), sz("default"));
  EXPECT_EQ(value(hkcu, kKey, "Dir"), sz("C:\\Data\\Sample"));
  EXPECT_EQ(value(hkcu, kKey, "Unc"), sz("\\servershare"));
  EXPECT_EQ(value(hkcu, kKey, "Escapes"), sz("q\"uote\" line\nbreak\rt0 end"));
  EXPECT_EQ(value(hkcu, kKey, "Blanks"), sz("around"));
  EXPECT_EQ(value(hkcu, kKey, "Count"), std::make_pair(REG_DWORD, std::string("\x1a\0\0\0", 4)));
  EXPECT_EQ(value(hkcu, kKey, "Short"), std::make_pair(REG_DWORD, std::string("\x2b\x1a\0\0", 4)));
  EXPECT_EQ(value(hkcu, kKey, "Bits"), std::make_pair(REG_BINARY, std::string("\x01\xab\x00", 3)));
  EXPECT_EQ(value(hkcu, kKey, "Empty"), std::make_pair(REG_BINARY, std::string()));
  EXPECT_EQ(value(hkcu, kKey, "Expand"), std::make_pair(REG_EXPAND_SZ, std::string("%Sys%\0", 6)));
  EXPECT_EQ(value(hkcu, kKey, "NoNul"), std::make_pair(REG_EXPAND_SZ, std::string("ab\0", 3)));
  EXPECT_EQ(value(hkcu, kKey, "Multi"), std::make_pair(REG_MULTI_SZ, std::string("a\0b\0\0", 5)));
  EXPECT_EQ(value(hkcu, kKey, "Qword"),
            std::make_pair(REG_QWORD, std::string("\x88\x77\x66\x55\x44\x33\x22\x11", 8)));
  EXPECT_EQ(value(hkcu, kKey, "Type0"), std::make_pair(REG_NONE, std::string()));
  EXPECT_EQ(outcome.valuesSet, 14);
}

TEST_F(RegImportTest, MalformedValuesArePassedOverAndTheRestImports) {
  const RegImportOutcome outcome = import(
      "REGEDIT4\n"
      "[HKEY_CURRENT_USER\\Software\\Import]\n"
      "\"Inner\"=\"an \"unescaped\" quote\"\n"
      "\"TrailingBackslash\"=\"C:\\\n"
      "\"NoEnd\"=\"abc\n"
      "\"NoEquals\" \"x\"\n"
      "\"BadDword\"=dword:xyz\n"
      "\"LongDword\"=dword:123456789\n"
      "\"BadHex\"=hex:01,1ff\n"
      "\"NoComma\"=hex:01 02\n"
      "\"BackslashNoComma\"=hex:01\\\n"
      "  02\n"
      "\"BadType\"=hex(x):01\n"
      "\"Unknown\"=text:abc\n"
      "\"Broken\"=hex:01,\\\n"
      "\"AfterBroken\"=\"imported\"\n"
      "[ HKEY_CURRENT_USER\\Software\\Spaced]\n"
      "\"LostWithBadKey\"=\"x\"\n"
      "[HKEY_CURRENT_USER\\Software\\Import\n"
      "\"LostToo\"=\"x\"\n"
      "[HKEY_CURRENT_USER\\Software\\Import]\n"
      "\"Good\"=\"yes\"\n");
  EXPECT_TRUE(outcome.imported);
  for (const char* name : {"Inner", "TrailingBackslash", "NoEnd", "NoEquals", "BadDword",
                           "LongDword", "BadHex", "NoComma", "BackslashNoComma", "BadType",
                           "Unknown", "Broken", "LostWithBadKey", "LostToo"}) {
    EXPECT_EQ(value(HKEY_CURRENT_USER, kKey, name), missing()) << name;
  }
  EXPECT_EQ(value(HKEY_CURRENT_USER, kKey, "AfterBroken"), sz("imported"));
  EXPECT_EQ(value(HKEY_CURRENT_USER, kKey, "Good"), sz("yes"));
  EXPECT_FALSE(keyExists(HKEY_CURRENT_USER, "Software\\Spaced"));
  EXPECT_GE(outcome.problems.size(), 13u);
}

TEST_F(RegImportTest, KeysRootsAndDeletions) {
  import(
      "REGEDIT4\n"
      "[HKEY_CURRENT_USER\\Software\\Import\\Gone\\Deep]\n"
      "\"x\"=\"1\"\n"
      "[HKEY_CURRENT_USER\\Software\\Import]\n"
      "\"Keep\"=\"1\"\n"
      "\"Drop\"=\"1\"\n"
      "@=\"default\"\n");
  const RegImportOutcome outcome = import(
      "Windows Registry Editor Version 5.00\r\r"
      "[hkey_current_user\\Software\\Import\\Created\\With\\Parents]\r"
      "[-HKEY_CURRENT_USER\\Software\\Import\\Gone]\r"
      "\"AfterDelete\"=\"lost\"\r"
      "[HKEY_LOCAL_MACHINE\\Software\\Classes\\.imp]\r"
      "@=\"impfile\"\r"
      "[HKEY_NOWHERE\\Software\\Import]\r"
      "\"Nowhere\"=\"lost\"\r"
      "[HKEY_CURRENT_USERS\\Software\\Import]\r"
      "\"AlsoNowhere\"=\"lost\"\r"
      "[HKEY_CURRENT_USER\\Software\\Import]  ; a comment\r"
      "\"Drop\"=-\r"
      "@=-\r"
      "\"NeverWas\"=-\r"
      "[-HKEY_CURRENT_USER\\Software\\NeverWas]\r"
      "[-HKEY_CURRENT_USER]\r");
  EXPECT_TRUE(outcome.imported);
  EXPECT_TRUE(keyExists(HKEY_CURRENT_USER, "Software\\Import\\Created\\With\\Parents"));
  EXPECT_FALSE(keyExists(HKEY_CURRENT_USER, "Software\\Import\\Gone"));
  EXPECT_EQ(value(HKEY_CLASSES_ROOT, ".imp", ""), sz("impfile"));
  EXPECT_EQ(value(HKEY_CURRENT_USER, kKey, "Keep"), sz("1"));
  EXPECT_EQ(value(HKEY_CURRENT_USER, kKey, "Drop"), missing());
  EXPECT_EQ(value(HKEY_CURRENT_USER, kKey, ""), missing());
  EXPECT_EQ(value(HKEY_CURRENT_USER, kKey, "AfterDelete"), missing());
  EXPECT_EQ(value(HKEY_CURRENT_USER, kKey, "Nowhere"), missing());
  EXPECT_EQ(value(HKEY_CURRENT_USER, kKey, "AlsoNowhere"), missing());
  EXPECT_EQ(outcome.keysDeleted, 1);
  EXPECT_EQ(outcome.valuesDeleted, 2);
  EXPECT_TRUE(keyExists(HKEY_CURRENT_USER, "Software"));
}

TEST_F(RegImportTest, Utf16FileWithByteOrderMark) {
  const std::u16string text =
      u"Windows Registry Editor Version 5.00\r\n\r\n"
      u"[HKEY_CURRENT_USER\\Software\\Import]\r\n"
      u"\"Caf\u00e9\"=\"\u00e9t\u00e9 \u20ac\"\r\n"
      u"\"Expand\"=hex(2):25,00,e9,00,25,00,00,00\r\n"
      u"\"Bin\"=hex:e9,00\r\n";
  std::string bytes = "\xff\xfe";
  for (char16_t c : text) {
    bytes += static_cast<char>(c & 0xFF);
    bytes += static_cast<char>(c >> 8);
  }
  EXPECT_TRUE(import(bytes).imported);
  EXPECT_EQ(value(HKEY_CURRENT_USER, kKey, "Caf\xe9"), sz("\xe9t\xe9 \x80"));
  EXPECT_EQ(value(HKEY_CURRENT_USER, kKey, "Expand"),
            std::make_pair(REG_EXPAND_SZ, std::string("%\xe9%\0", 4)));
  EXPECT_EQ(value(HKEY_CURRENT_USER, kKey, "Bin"),
            std::make_pair(REG_BINARY, std::string("\xe9\0", 2)));
}

TEST_F(RegImportTest, AnsiFileTextIsWindows1252) {
  import(
      "REGEDIT4\n[HKEY_CURRENT_USER\\Software\\Import]\n\"Caf\xe9\"=\"\x80 5\"\n"
      "\"Hex\"=hex(1):e9,80\n");
  EXPECT_EQ(value(HKEY_CURRENT_USER, kKey, "CAF\xc9"), sz("\x80 5"));
  EXPECT_EQ(value(HKEY_CURRENT_USER, kKey, "Hex"), sz("\xe9\x80"));
  // What reaches the machine's file is Unicode: the euro sign as its UTF-16 code unit.
  m_registry.reset();
  EXPECT_NE(m_root.readFile("user.reg").find("\"Caf\\xe9\"=\"\\x20ac 5\""), std::string::npos);
}

}  // namespace
}  // namespace platform
