#include "context/mdl_registry.h"

#include <gtest/gtest.h>

#include "testing/test_program.h"
#include "platform/testing/watched_registry.h"

namespace migration {
namespace {

constexpr const char* kKey = "Software\\Test";

using platform::REGSAM;
using platform::testing::WatchedRegistry;

class MdlRegistryTest : public ::testing::Test {
 protected:
  void setValue(const char* name, platform::DWORD type, const std::string& bytes) {
    m_test.testMachine().setRegistryValue(platform::HKEY_CURRENT_USER, kKey, name, type, bytes);
  }
  // The stored type and bytes, or type REG_NONE with "missing".
  std::pair<platform::DWORD, std::string> stored(const char* name) {
    platform::HKEY key = 0;
    if (registry().RegOpenKeyExA(platform::HKEY_CURRENT_USER, kKey, 0, platform::KEY_READ, &key).failed()) {
      return {platform::REG_NONE, "missing key"};
    }
    platform::DWORD type = 0;
    platform::DWORD size = 64;
    std::string bytes(size, '\0');
    const auto status = registry().RegQueryValueExA(
        key, name, &type, reinterpret_cast<platform::BYTE*>(bytes.data()), &size);
    EXPECT_EQ(registry().RegCloseKey(key), platform::ERROR_SUCCESS);
    if (status.failed()) return {platform::REG_NONE, "missing"};
    return {type, bytes.substr(0, size)};
  }
  RegValue query(const char* name) {
    return QueryKeyValue(registry(), platform::HKEY_CURRENT_USER, kKey, name);
  }
  platform::Registry& registry() { return m_test.machine().registry(); }

  testing::TestProgram m_test;
};

TEST_F(MdlRegistryTest, ReadsTextWithItsNulAndIntegers) {
  setValue("Wallpaper", platform::REG_SZ, std::string("C:\\WINDOWS\\Bliss.bmp\0", 21));
  setValue("Count", platform::REG_DWORD, std::string("\x1a\0\0\0", 4));
  setValue("Minus", platform::REG_DWORD, std::string("\xff\xff\xff\xff", 4));
  setValue("Bare", platform::REG_SZ, "abc");

  EXPECT_EQ(query("Wallpaper"), RegValue(std::string("C:\\WINDOWS\\Bliss.bmp\0", 21)));
  EXPECT_EQ(query("Count"), RegValue(26));
  EXPECT_EQ(query("Minus"), RegValue(-1));
  EXPECT_EQ(query("Bare"), RegValue("abc"));
}

TEST_F(MdlRegistryTest, OtherTypesAndMissingValuesReadEmpty) {
  setValue("Expand", platform::REG_EXPAND_SZ, std::string("%windir%\0", 9));
  setValue("Bits", platform::REG_BINARY, "\x01\x02");
  EXPECT_TRUE(query("Expand").isEmpty());
  EXPECT_TRUE(query("Bits").isEmpty());
  EXPECT_TRUE(query("Missing").isEmpty());
  EXPECT_TRUE(
      QueryKeyValue(registry(), platform::HKEY_CURRENT_USER, "Software\\None", "x").isEmpty());

  platform::HKEY key = 0;
  ASSERT_EQ(registry().RegOpenKeyExA(platform::HKEY_CURRENT_USER, kKey, 0, kRegistryAccess, &key),
            platform::ERROR_SUCCESS);
  RegValue value("left over");
  EXPECT_EQ(QueryValueEx(registry(), key, "Bits", value), kUnsupportedType);
  EXPECT_TRUE(value.isEmpty());
  EXPECT_EQ(QueryValueEx(registry(), key, "Missing", value),
            platform::ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(registry().RegCloseKey(key), platform::ERROR_SUCCESS);
}

TEST_F(MdlRegistryTest, WritesTextAsWindowsStoresItAndIntegers) {
  setValue("Existing", platform::REG_SZ, std::string("x\0", 2));
  const auto set = [this](const char* name, const RegValue& value, platform::DWORD type) {
    SetKeyValue(registry(), platform::HKEY_CURRENT_USER, kKey, name, value, type);
  };
  set("Text", "abc", platform::REG_SZ);
  // Every character counts, an inner NUL too. Windows counts the NUL that follows a text handed
  // over without it, so a text gets one final NUL, and an empty text none.
  set("InnerNul", std::string("a\0b", 3), platform::REG_SZ);
  set("FinalNul", std::string("ab\0", 3), platform::REG_SZ);
  set("Number", 26, platform::REG_DWORD);
  set("NumberText", " 42 ", platform::REG_DWORD);
  set("NotANumber", "4x", platform::REG_DWORD);
  set("IntegerAsText", 7, platform::REG_SZ);
  set("Binary", "abc", platform::REG_BINARY);
  set("Empty", "", platform::REG_SZ);

  EXPECT_EQ(stored("Text"), std::make_pair(platform::REG_SZ, std::string("abc\0", 4)));
  EXPECT_EQ(stored("InnerNul"), std::make_pair(platform::REG_SZ, std::string("a\0b\0", 4)));
  EXPECT_EQ(stored("FinalNul"), std::make_pair(platform::REG_SZ, std::string("ab\0", 3)));
  EXPECT_EQ(stored("Number"), std::make_pair(platform::REG_DWORD, std::string("\x1a\0\0\0", 4)));
  EXPECT_EQ(stored("NumberText"),
            std::make_pair(platform::REG_DWORD, std::string("\x2a\0\0\0", 4)));
  EXPECT_EQ(stored("NotANumber").second, "missing");
  EXPECT_EQ(stored("IntegerAsText"), std::make_pair(platform::REG_SZ, std::string("7\0", 2)));
  EXPECT_EQ(stored("Empty"), std::make_pair(platform::REG_SZ, std::string()));
  EXPECT_EQ(stored("Binary").second, "missing");
}

TEST_F(MdlRegistryTest, NeverCreatesKeys) {
  SetKeyValue(registry(), platform::HKEY_CURRENT_USER, "Software\\New", "x", "abc",
              platform::REG_SZ);
  platform::HKEY key = 0;
  EXPECT_NE(registry().RegOpenKeyExA(platform::HKEY_CURRENT_USER, "Software\\New", 0,
                                     platform::KEY_READ, &key),
            platform::ERROR_SUCCESS);
}

TEST_F(MdlRegistryTest, EveryKeyOpensWithOneMaskAndCloses) {
  setValue("Text", platform::REG_SZ, std::string("abc\0", 4));
  setValue("Bits", platform::REG_BINARY, "\x01");
  WatchedRegistry watched(registry());
  const platform::HKEY user = platform::HKEY_CURRENT_USER;
  EXPECT_EQ(QueryKeyValue(watched, user, kKey, "Text"), RegValue(std::string("abc\0", 4)));
  EXPECT_TRUE(QueryKeyValue(watched, user, kKey, "Bits").isEmpty());
  EXPECT_TRUE(QueryKeyValue(watched, user, kKey, "Missing").isEmpty());
  EXPECT_TRUE(QueryKeyValue(watched, user, "Software\\None", "x").isEmpty());
  SetKeyValue(watched, user, kKey, "Written", "x", platform::REG_SZ);
  SetKeyValue(watched, user, kKey, "Refused", "4x", platform::REG_DWORD);
  SetKeyValue(watched, user, kKey, "Binary", "x", platform::REG_BINARY);
  SetKeyValue(watched, user, "Software\\None", "x", "abc", platform::REG_SZ);

  // Reading and writing alike ask for query, set, create sub-key, enumerate, notify and link.
  EXPECT_EQ(watched.accesses, std::vector<REGSAM>(8, 0x3F));
  EXPECT_EQ(watched.openKeys, 0);
  EXPECT_EQ(watched.creates, 0);
  EXPECT_EQ(stored("Written"), std::make_pair(platform::REG_SZ, std::string("x\0", 2)));
}

}  // namespace
}  // namespace migration
