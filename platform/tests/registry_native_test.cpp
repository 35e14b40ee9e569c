// The registry "A" functions over a machine root's system.reg and user.reg.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "platform/testing/temporary_machine_root.h"
#include "native_registry.h"
#include "platform/clock.h"

namespace platform {
namespace {

const BYTE* bytes(const std::string& text) { return reinterpret_cast<const BYTE*>(text.data()); }

class NativeRegistryTest : public ::testing::Test {
 protected:
  NativeRegistryTest() { reopen(); }

  // A fresh registry over the same machine root: what a later run of the program sees.
  void reopen() {
    m_registry.reset();
    m_registry = std::make_unique<NativeRegistry>(m_root.path(), &m_clock);
  }
  NativeRegistry& reg() { return *m_registry; }

  HKEY create(HKEY root, const char* path) {
    HKEY key = 0;
    EXPECT_EQ(reg().RegCreateKeyExA(root, path, KEY_ALL_ACCESS, &key, nullptr), ERROR_SUCCESS);
    return key;
  }
  void set(HKEY key, const char* name, DWORD type, const std::string& data) {
    EXPECT_EQ(reg().RegSetValueExA(key, name, type, bytes(data), static_cast<DWORD>(data.size())),
              ERROR_SUCCESS);
  }
  // The value's type and data as RegQueryValueExA gives them, after asking for the size.
  std::pair<DWORD, std::string> query(HKEY root, const char* path, const char* name) {
    HKEY key = 0;
    if (reg().RegOpenKeyExA(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return {};
    DWORD type = 0;
    DWORD size = 0;
    EXPECT_EQ(reg().RegQueryValueExA(key, name, &type, nullptr, &size), ERROR_SUCCESS);
    std::string data(size, '\0');
    EXPECT_EQ(reg().RegQueryValueExA(key, name, &type, reinterpret_cast<BYTE*>(data.data()), &size),
              ERROR_SUCCESS);
    EXPECT_EQ(reg().RegCloseKey(key), ERROR_SUCCESS);
    return {type, data};
  }
  std::vector<std::string> subkeyNames(HKEY key) {
    std::vector<std::string> names;
    char name[256];
    for (DWORD index = 0;; ++index) {
      DWORD length = sizeof name;
      const Status status = reg().RegEnumKeyExA(key, index, name, &length);
      if (status == ERROR_NO_MORE_ITEMS) break;
      EXPECT_EQ(status, ERROR_SUCCESS);
      names.emplace_back(name, length);
    }
    return names;
  }

  testing::TemporaryMachineRoot m_root;
  VirtualClock m_clock;
  std::unique_ptr<NativeRegistry> m_registry;
};

TEST_F(NativeRegistryTest, ValuesOfEveryTypeSurviveSaveAndReload) {
  const std::pair<DWORD, std::string> values[] = {
      {REG_SZ, std::string("C:\\Data \"quoted\"\t\xe9\x80") + '\0'},
      {REG_SZ, "no terminating NUL"},
      {REG_EXPAND_SZ, std::string("%SystemRoot%\\x\0", 15)},
      {REG_MULTI_SZ, std::string("a\0b\0\0", 5)},
      {REG_BINARY, std::string("\x00\xff\x0a", 3)},
      {REG_DWORD, std::string("\x1a\x00\x00\x00", 4)},
      {REG_QWORD, std::string("\x11\x22\x33\x44\x55\x66\x77\x88", 8)},
      {REG_NONE, ""},
  };
  HKEY key = create(HKEY_CURRENT_USER, "Software\\Types");
  for (std::size_t i = 0; i < std::size(values); ++i) {
    set(key, ("v" + std::to_string(i)).c_str(), values[i].first, values[i].second);
  }
  EXPECT_EQ(reg().RegCloseKey(key), ERROR_SUCCESS);
  reopen();
  for (std::size_t i = 0; i < std::size(values); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(query(HKEY_CURRENT_USER, "software\\TYPES", ("V" + std::to_string(i)).c_str()),
              values[i]);
  }
  const std::string file = m_root.readFile("user.reg");
  EXPECT_NE(file.find("[Software\\\\Types] "), std::string::npos);
  EXPECT_NE(file.find("\"v0\"=\"C:\\\\Data \\\"quoted\\\"\\t\\xe9\\x20ac\"\n"), std::string::npos)
      << file;
  EXPECT_NE(file.find("\"v5\"=dword:0000001a\n"), std::string::npos);
}

TEST_F(NativeRegistryTest, StringsComeBackWithExactlyTheStoredBytes) {
  HKEY key = create(HKEY_LOCAL_MACHINE, "SOFTWARE\\Ostrel\\Carrovan");
  set(key, "abc", REG_SZ, "abc");  // counted without its NUL
  set(key, "Wallpaper", REG_SZ, std::string("C:\\WINDOWS\\Bliss.bmp") + '\0');
  EXPECT_EQ(query(HKEY_LOCAL_MACHINE, "SOFTWARE\\Ostrel\\Carrovan", "abc").second, "abc");
  EXPECT_EQ(query(HKEY_LOCAL_MACHINE, "SOFTWARE\\Ostrel\\Carrovan", "Wallpaper").second.size(),
            21u);

  // A larger buffer gets a NUL after a string that has none, not counted in the size.
  char buffer[8];
  std::memset(buffer, 'x', sizeof buffer);
  DWORD size = sizeof buffer;
  EXPECT_EQ(reg().RegQueryValueExA(key, "abc", nullptr, reinterpret_cast<BYTE*>(buffer), &size),
            ERROR_SUCCESS);
  EXPECT_EQ(size, 3u);
  EXPECT_STREQ(buffer, "abc");
  EXPECT_EQ(reg().RegCloseKey(key), ERROR_SUCCESS);
}

TEST_F(NativeRegistryTest, ShortBuffersAndTheEndOfEnumeration) {
  HKEY key = create(HKEY_CURRENT_USER, "Software\\Short");
  HKEY sub = create(key, "LongSubkeyName");
  EXPECT_EQ(reg().RegCloseKey(sub), ERROR_SUCCESS);
  set(key, "LongValueName", REG_BINARY, std::string(10, 'b'));

  char name[4];
  BYTE data[4];
  DWORD nameLength = sizeof name;
  DWORD dataLength = sizeof data;
  DWORD type = 0;
  // Query: the size it needs and ERROR_MORE_DATA; a null buffer gives the size alone.
  EXPECT_EQ(reg().RegQueryValueExA(key, "LongValueName", &type, data, &dataLength),
            ERROR_MORE_DATA);
  EXPECT_EQ(dataLength, 10u);
  dataLength = 0;
  EXPECT_EQ(reg().RegQueryValueExA(key, "LongValueName", &type, nullptr, &dataLength),
            ERROR_SUCCESS);
  EXPECT_EQ(dataLength, 10u);
  EXPECT_EQ(type, REG_BINARY);

  // Enumerating a value: the data is checked first and reports the needed size.
  dataLength = sizeof data;
  EXPECT_EQ(reg().RegEnumValueA(key, 0, name, &nameLength, &type, data, &dataLength),
            ERROR_MORE_DATA);
  EXPECT_EQ(dataLength, 10u);
  // With room for the data, the short name buffer is what fails.
  BYTE bigData[16];
  dataLength = sizeof bigData;
  nameLength = sizeof name;
  EXPECT_EQ(reg().RegEnumValueA(key, 0, name, &nameLength, &type, bigData, &dataLength),
            ERROR_MORE_DATA);
  nameLength = sizeof name;
  EXPECT_EQ(reg().RegEnumKeyExA(key, 0, name, &nameLength), ERROR_MORE_DATA);
  EXPECT_EQ(nameLength, sizeof name);

  char bigName[32];
  nameLength = sizeof bigName;
  EXPECT_EQ(reg().RegEnumValueA(key, 1, bigName, &nameLength, nullptr, nullptr, nullptr),
            ERROR_NO_MORE_ITEMS);
  EXPECT_EQ(reg().RegEnumKeyExA(key, 1, bigName, &nameLength), ERROR_NO_MORE_ITEMS);
  nameLength = sizeof bigName;
  EXPECT_EQ(reg().RegEnumKeyExA(key, 0, bigName, &nameLength), ERROR_SUCCESS);
  EXPECT_EQ(nameLength, 14u);
  EXPECT_STREQ(bigName, "LongSubkeyName");
  EXPECT_EQ(reg().RegCloseKey(key), ERROR_SUCCESS);
}

TEST_F(NativeRegistryTest, SubkeysEnumerateByNameValuesInCreationOrder) {
  HKEY key = create(HKEY_CURRENT_USER, "Software\\Order");
  for (const char* name : {"b", "_x", "A", "Z", "c", "\xe9t\xe9"})
    EXPECT_EQ(reg().RegCloseKey(create(key, name)), ERROR_SUCCESS);
  for (const char* name : {"zeta", "Alpha", "mid"}) set(key, name, REG_SZ, "x");
  EXPECT_EQ(subkeyNames(key), (std::vector<std::string>{"A", "b", "c", "Z", "_x", "\xe9t\xe9"}));

  std::vector<std::string> values;
  char name[32];
  for (DWORD index = 0;; ++index) {
    DWORD length = sizeof name;
    if (reg().RegEnumValueA(key, index, name, &length, nullptr, nullptr, nullptr).failed()) break;
    values.emplace_back(name, length);
  }
  EXPECT_EQ(values, (std::vector<std::string>{"zeta", "Alpha", "mid"}));
  EXPECT_EQ(reg().RegCloseKey(key), ERROR_SUCCESS);
}

TEST_F(NativeRegistryTest, NamesCompareWithoutCaseInWindows1252) {
  HKEY key = create(HKEY_CURRENT_USER, "Software\\Caf\xe9 \x9a");  // é, š
  DWORD disposition = 0;
  HKEY same = 0;
  EXPECT_EQ(reg().RegCreateKeyExA(HKEY_CURRENT_USER, "SOFTWARE\\CAF\xc9 \x8a", KEY_ALL_ACCESS,
                                  &same, &disposition),
            ERROR_SUCCESS);
  EXPECT_EQ(disposition, static_cast<DWORD>(REG_OPENED_EXISTING_KEY));
  set(key, "\xff", REG_SZ, "lower");
  set(same, "\x9f", REG_SZ, "upper");  // Ÿ is ÿ's capital: the same value
  EXPECT_EQ(query(HKEY_CURRENT_USER, "software\\caf\xe9 \x9a", "\xff").second, "upper");
  EXPECT_EQ(reg().RegCloseKey(key), ERROR_SUCCESS);
  EXPECT_EQ(reg().RegCloseKey(same), ERROR_SUCCESS);
}

TEST_F(NativeRegistryTest, MissingKeysValuesAndBadArguments) {
  HKEY key = 0x1234;
  EXPECT_EQ(reg().RegOpenKeyExA(HKEY_CURRENT_USER, "No\\Such\\Key", 0, KEY_READ, &key),
            ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(key, 0u);  // a failed open leaves a null handle
  EXPECT_EQ(reg().RegOpenKeyExA(HKEY_CURRENT_USER, "\\Leading", 0, KEY_READ, &key),
            ERROR_BAD_PATHNAME);
  EXPECT_EQ(reg().RegCreateKeyExA(HKEY_CURRENT_USER, std::string(256, 'n').c_str(), KEY_ALL_ACCESS,
                                  &key, nullptr),
            ERROR_INVALID_PARAMETER);
  key = create(HKEY_CURRENT_USER, "Software\\\\Doubled\\");  // separators collapse
  DWORD size = 0;
  EXPECT_EQ(reg().RegQueryValueExA(key, "absent", nullptr, nullptr, &size), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(reg().RegDeleteValueA(key, "absent"), ERROR_FILE_NOT_FOUND);
  BYTE data[4];
  EXPECT_EQ(reg().RegQueryValueExA(key, "absent", nullptr, data, nullptr), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(reg().RegCloseKey(key), ERROR_SUCCESS);
  ASSERT_EQ(reg().RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Doubled", 0, KEY_READ, &key),
            ERROR_SUCCESS);
  EXPECT_EQ(reg().RegCloseKey(key), ERROR_SUCCESS);
  EXPECT_EQ(subkeyNames(HKEY_CURRENT_USER).size(), 1u);
}

TEST_F(NativeRegistryTest, HandlesAreRealAndDieWithTheirKey) {
  HKEY key = create(HKEY_CURRENT_USER, "Software\\Doomed");
  HKEY other = 0;
  ASSERT_EQ(reg().RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Doomed", 0, KEY_READ, &other),
            ERROR_SUCCESS);
  EXPECT_NE(key, other);
  EXPECT_LT(key, HKEY_CLASSES_ROOT);
  EXPECT_EQ(reg().RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Doomed"), ERROR_SUCCESS);
  DWORD size = 0;
  EXPECT_EQ(reg().RegQueryValueExA(other, "x", nullptr, nullptr, &size), ERROR_KEY_DELETED);
  EXPECT_EQ(reg().RegSetValueExA(key, "x", REG_SZ, bytes("a"), 1), ERROR_KEY_DELETED);
  EXPECT_EQ(reg().RegCloseKey(key), ERROR_SUCCESS);
  EXPECT_EQ(reg().RegCloseKey(other), ERROR_SUCCESS);
  EXPECT_EQ(reg().RegCloseKey(other), ERROR_INVALID_HANDLE);
  EXPECT_EQ(reg().RegCloseKey(0x4321), ERROR_INVALID_HANDLE);
  EXPECT_EQ(reg().RegCloseKey(HKEY_CURRENT_USER), ERROR_SUCCESS);
}

TEST_F(NativeRegistryTest, DeletingKeysAndTrees) {
  EXPECT_EQ(reg().RegCloseKey(create(HKEY_CURRENT_USER, "Software\\Tree\\Branch\\Leaf")), ERROR_SUCCESS);
  EXPECT_EQ(reg().RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Tree"), ERROR_ACCESS_DENIED);
  EXPECT_EQ(reg().RegDeleteKeyA(HKEY_CURRENT_USER, ""), ERROR_ACCESS_DENIED);
  EXPECT_EQ(reg().RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Tree\\Nope"), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(reg().RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Tree"), ERROR_SUCCESS);
  HKEY key = 0;
  EXPECT_EQ(reg().RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Tree", 0, KEY_READ, &key),
            ERROR_FILE_NOT_FOUND);

  // A null sub-key empties the key itself and keeps it.
  key = create(HKEY_CURRENT_USER, "Software\\Emptied\\Child");
  EXPECT_EQ(reg().RegCloseKey(key), ERROR_SUCCESS);
  key = create(HKEY_CURRENT_USER, "Software\\Emptied");
  set(key, "v", REG_SZ, "x");
  EXPECT_EQ(reg().RegDeleteTreeA(key, nullptr), ERROR_SUCCESS);
  EXPECT_TRUE(subkeyNames(key).empty());
  DWORD size = 0;
  EXPECT_EQ(reg().RegQueryValueExA(key, "v", nullptr, nullptr, &size), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(reg().RegCloseKey(key), ERROR_SUCCESS);
}

TEST_F(NativeRegistryTest, AccessRightsOfAHandleAreEnforced) {
  EXPECT_EQ(reg().RegCloseKey(create(HKEY_CURRENT_USER, "Software\\Rights")), ERROR_SUCCESS);
  HKEY key = 0;
  ASSERT_EQ(reg().RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Rights", 0, KEY_READ, &key),
            ERROR_SUCCESS);
  EXPECT_EQ(reg().RegSetValueExA(key, "x", REG_SZ, bytes("a"), 1), ERROR_ACCESS_DENIED);
  HKEY sub = 0;
  EXPECT_EQ(reg().RegCreateKeyExA(key, "Sub", KEY_ALL_ACCESS, &sub, nullptr), ERROR_ACCESS_DENIED);
  EXPECT_EQ(reg().RegCloseKey(key), ERROR_SUCCESS);
  // Emptying a key through a handle needs DELETE and the rights to list it and its values.
  HKEY full = create(HKEY_CURRENT_USER, "Software\\Rights\\Kept");
  set(full, "v", REG_SZ, "x");
  for (REGSAM access : {REGSAM{KEY_READ}, REGSAM{KEY_WRITE}}) {
    ASSERT_EQ(reg().RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Rights", 0, access, &key),
              ERROR_SUCCESS);
    EXPECT_EQ(reg().RegDeleteTreeA(key, nullptr), ERROR_ACCESS_DENIED) << access;
    EXPECT_EQ(reg().RegCloseKey(key), ERROR_SUCCESS);
  }
  EXPECT_EQ(query(HKEY_CURRENT_USER, "Software\\Rights\\Kept", "v").second, "x");
  EXPECT_EQ(reg().RegCloseKey(full), ERROR_SUCCESS);
  // The mask the program uses for reading and writing alike.
  ASSERT_EQ(reg().RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Rights", 0, 0x3F, &key),
            ERROR_SUCCESS);
  EXPECT_EQ(reg().RegSetValueExA(key, "x", REG_SZ, bytes("a"), 1), ERROR_SUCCESS);
  EXPECT_EQ(reg().RegCloseKey(key), ERROR_SUCCESS);
}

TEST_F(NativeRegistryTest, PredefinedKeysMapOntoTheHives) {
  HKEY classes = create(HKEY_CLASSES_ROOT, ".txt");
  set(classes, nullptr, REG_SZ, std::string("txtfile") + '\0');
  EXPECT_EQ(reg().RegCloseKey(classes), ERROR_SUCCESS);
  EXPECT_EQ(query(HKEY_LOCAL_MACHINE, "Software\\Classes\\.txt", "").second,
            std::string("txtfile") + '\0');

  HKEY user = create(HKEY_USERS, "S-1-5-21-0-0-0-1000\\Software\\ViaUsers");
  set(user, "v", REG_DWORD, std::string(4, '\1'));
  EXPECT_EQ(reg().RegCloseKey(user), ERROR_SUCCESS);
  EXPECT_EQ(query(HKEY_CURRENT_USER, "Software\\ViaUsers", "v").first, REG_DWORD);
  EXPECT_EQ(subkeyNames(HKEY_USERS), (std::vector<std::string>{".DEFAULT", "S-1-5-21-0-0-0-1000"}));
  HKEY key = 0;
  EXPECT_EQ(
      reg().RegCreateKeyExA(HKEY_USERS, ".DEFAULT\\Software\\X", KEY_ALL_ACCESS, &key, nullptr),
      ERROR_ACCESS_DENIED);
  EXPECT_EQ(reg().RegDeleteKeyA(HKEY_USERS, "S-1-5-21-0-0-0-1000"), ERROR_ACCESS_DENIED);

  HKEY config = create(HKEY_CURRENT_CONFIG, "Software\\Fonts");
  EXPECT_EQ(reg().RegCloseKey(config), ERROR_SUCCESS);
  EXPECT_EQ(reg().RegOpenKeyExA(HKEY_LOCAL_MACHINE,
                                "System\\CurrentControlSet\\Hardware Profiles\\Current\\Software"
                                "\\Fonts",
                                0, KEY_READ, &key),
            ERROR_SUCCESS);
  EXPECT_EQ(reg().RegCloseKey(key), ERROR_SUCCESS);
  for (HKEY missing : {HKEY_PERFORMANCE_DATA, HKEY_DYN_DATA}) {
    EXPECT_EQ(reg().RegOpenKeyExA(missing, "", 0, KEY_READ, &key), ERROR_INVALID_HANDLE);
  }
}

TEST_F(NativeRegistryTest, ChangesReachTheFileOnFlushAndAtTheEndWithTheClocksTime) {
  HKEY key = create(HKEY_CURRENT_USER, "Software\\Saved");
  set(key, "v", REG_SZ, "1");
  EXPECT_EQ(reg().RegFlushKey(key), ERROR_SUCCESS);
  EXPECT_NE(m_root.readFile("user.reg").find("\"v\"=hex(1):31,00"), std::string::npos);
  // 1 June 2001, 04:00 UTC, as the virtual clock says.
  EXPECT_NE(
      m_root.readFile("user.reg").find("[Software\\\\Saved] 991368000\n#time=1c0ea4f540fa000"),
      std::string::npos)
      << m_root.readFile("user.reg");
  set(key, "w", REG_SZ, "2");
  EXPECT_EQ(reg().RegCloseKey(key), ERROR_SUCCESS);
  EXPECT_EQ(m_root.readFile("user.reg").find("\"w\""), std::string::npos);  // closing is lazy
  reopen();
  EXPECT_NE(m_root.readFile("user.reg").find("\"w\""), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(m_root.path() / "system.reg"));  // HKLM untouched
  for (const auto& entry : std::filesystem::directory_iterator(m_root.path())) {
    EXPECT_EQ(entry.path().filename().string().find(".reg."), std::string::npos)
        << "temporary file left: " << entry.path();
  }
}

TEST_F(NativeRegistryTest, AnUnchangedHiveIsNotRewritten) {
  const std::string file =
      "WINE REGISTRY Version 2\n;; All keys relative to REGISTRY\\\\Machine\n\n#arch=win64\n"
      "\n[Software\\\\Kept] 1796861909\n#time=1dd883bfb55a7a0\n\"v\"=\"1\"\n";
  m_root.writeFile("system.reg", file);
  struct stat before {};
  ASSERT_EQ(::stat((m_root.path() / "system.reg").c_str(), &before), 0);
  EXPECT_EQ(query(HKEY_LOCAL_MACHINE, "Software\\Kept", "v").second, std::string("1") + '\0');
  EXPECT_EQ(reg().RegFlushKey(HKEY_LOCAL_MACHINE), ERROR_SUCCESS);
  reopen();
  struct stat after {};
  ASSERT_EQ(::stat((m_root.path() / "system.reg").c_str(), &after), 0);
  EXPECT_EQ(before.st_ino, after.st_ino);
  EXPECT_EQ(m_root.readFile("system.reg"), file);
}

TEST_F(NativeRegistryTest, AFileThatCannotBeParsedIsNeverTouched) {
  const std::string corrupt = "WINE REGISTRY Version 9\n[Software\\\\X] 1\n\"v\"=\"1\"\n\x01\xff";
  m_root.writeFile("system.reg", corrupt);
  HKEY key = 0;
  EXPECT_EQ(reg().RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\X", 0, KEY_READ, &key), ERROR_BADDB);
  EXPECT_EQ(reg().RegCreateKeyExA(HKEY_CLASSES_ROOT, ".x", KEY_ALL_ACCESS, &key, nullptr),
            ERROR_BADDB);
  EXPECT_EQ(reg().RegFlushKey(HKEY_LOCAL_MACHINE), ERROR_BADDB);
  // The other hive still works.
  EXPECT_EQ(reg().RegCloseKey(create(HKEY_CURRENT_USER, "Software\\Fine")), ERROR_SUCCESS);
  reopen();
  EXPECT_EQ(m_root.readFile("system.reg"), corrupt);
  EXPECT_TRUE(std::filesystem::exists(m_root.path() / "user.reg"));
}

TEST_F(NativeRegistryTest, AHiveThatCannotBeReadIsRefused) {
  std::filesystem::create_directory(m_root.path() / "user.reg");
  HKEY key = 0;
  EXPECT_EQ(reg().RegOpenKeyExA(HKEY_CURRENT_USER, "", 0, KEY_READ, &key), ERROR_CANTREAD);
  reopen();
  EXPECT_TRUE(std::filesystem::is_directory(m_root.path() / "user.reg"));
}

}  // namespace
}  // namespace platform
