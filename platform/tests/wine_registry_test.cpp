// Cross-checks of the registry with Wine itself: files we write read back through Wine's `reg
// query`, values Wine's `reg add` writes read back through our layer, and a .reg file imported by
// our importer and by Wine's `regedit /s` leaves the same registry. One Wine prefix is made per
// run and shared by the cases, since making one takes seconds. Skipped when Wine is not installed.
#include <gtest/gtest.h>
#include <stdio.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "native_registry.h"
#include "reg_import.h"
#include "registry_file_reader.h"
#include "registry_file_writer.h"
#include "platform/testing/wine_prefix.h"

namespace platform {
namespace {

namespace fs = std::filesystem;
using testing::readHostFile;
using testing::WinePrefix;

class WineRegistryTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { s_wine = new WinePrefix(); }
  static void TearDownTestSuite() {
    delete s_wine;
    s_wine = nullptr;
  }
  void SetUp() override {
    if (!s_wine->installed()) GTEST_SKIP() << "Wine is not installed: no wine or wine64 program";
    ASSERT_TRUE(s_wine->ready()) << "wineboot made no prefix:\n" << s_wine->bootOutput();
    s_wine->stopServer();
  }
  void TearDown() override {
    if (s_wine != nullptr && s_wine->installed()) s_wine->stopServer();
  }

  static WinePrefix* s_wine;
};

WinePrefix* WineRegistryTest::s_wine = nullptr;

using ValueMap = std::map<std::string, std::pair<std::string, std::string>>;

std::string repeated(const std::string& text, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += text;
  return out;
}

// The values of `wine reg query KEY`: name -> (type, data as printed).
ValueMap parseRegQuery(const std::string& output) {
  ValueMap values;
  std::istringstream lines(output);
  for (std::string line; std::getline(lines, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.rfind("    ", 0) != 0) continue;
    std::vector<std::string> parts;
    for (std::size_t start = 4;;) {
      const std::size_t end = line.find("    ", start);
      parts.push_back(
          line.substr(start, end == std::string::npos ? std::string::npos : end - start));
      if (end == std::string::npos) break;
      start = end + 4;
    }
    if (parts.size() == 2) parts.emplace_back();
    if (parts.size() == 3) values[parts[0]] = {parts[1], parts[2]};
  }
  return values;
}

// Everything below a key through our layer: sub-keys in order, values sorted by name (Wine keeps
// them sorted, we keep creation order), each with its type and data in hex.
void dumpKey(Registry& registry, HKEY root, const std::string& path, std::string& out) {
  HKEY key = 0;
  if (registry.RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
    out += path + " (missing)\n";
    return;
  }
  out += path + "\n";
  std::vector<std::string> values;
  char name[512];
  BYTE data[4096];
  for (DWORD index = 0;; ++index) {
    DWORD nameLength = sizeof name;
    DWORD dataLength = sizeof data;
    DWORD type = 0;
    if (registry.RegEnumValueA(key, index, name, &nameLength, &type, data, &dataLength).failed()) break;
    std::string line = "  \"" + std::string(name, nameLength) + "\" " + std::to_string(type) + ":";
    char hex[4];
    for (DWORD i = 0; i < dataLength; ++i) {
      std::snprintf(hex, sizeof hex, "%02x", data[i]);
      line += hex;
    }
    values.push_back(line + "\n");
  }
  std::sort(values.begin(), values.end());
  for (const std::string& line : values) out += line;
  std::vector<std::string> subkeys;
  for (DWORD index = 0;; ++index) {
    DWORD nameLength = sizeof name;
    if (registry.RegEnumKeyExA(key, index, name, &nameLength).failed()) break;
    subkeys.emplace_back(name, nameLength);
  }
  EXPECT_EQ(registry.RegCloseKey(key), ERROR_SUCCESS);
  for (const std::string& subkey : subkeys) dumpKey(registry, root, path + "\\" + subkey, out);
}

TEST_F(WineRegistryTest, WinesOwnFilesComeBackByteForByte) {
  for (const char* name : {"system.reg", "user.reg", "userdef.reg"}) {
    SCOPED_TRACE(name);
    const std::string bytes = readHostFile(s_wine->prefix() / name);
    auto hive = readRegistryFile(bytes, 0);
    ASSERT_TRUE(hive.ok());
    EXPECT_TRUE(formatRegistryFile(**hive) == bytes);
  }
}

TEST_F(WineRegistryTest, WineReadsWhatWeWrite) {
  {
    NativeRegistry registry(s_wine->prefix());
    HKEY key = 0;
    ASSERT_EQ(registry.RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\TransvaleCheck\\Ours",
                                       KEY_ALL_ACCESS, &key, nullptr),
              ERROR_SUCCESS);
    const auto set = [&](const char* name, DWORD type, const std::string& data) {
      EXPECT_EQ(registry.RegSetValueExA(key, name, type, reinterpret_cast<const BYTE*>(data.data()),
                                        static_cast<DWORD>(data.size())),
                ERROR_SUCCESS);
    };
    set("", REG_SZ, std::string("default") + '\0');
    set("Path", REG_SZ, std::string("C:\\Program Files\\App") + '\0');
    set("Quote", REG_SZ, std::string("say \"hi\" [x] \\\\server\\share") + '\0');
    set("Caf\xe9", REG_SZ, std::string("\xe9t\xe9") + '\0');
    set("Expand", REG_EXPAND_SZ, std::string("%SystemRoot%\\x") + '\0');
    set("Multi", REG_MULTI_SZ, std::string("a\0b\0\0", 5));
    set("Bits", REG_BINARY, std::string("\x0a\xff\x00", 3));
    set("Long", REG_BINARY, std::string(100, '\x5a'));
    set("Count", REG_DWORD, std::string("\x1a\0\0\0", 4));
    for (const char* subkey : {"Sub B", "sub a"}) {
      HKEY sub = 0;
      EXPECT_EQ(registry.RegCreateKeyExA(key, subkey, KEY_ALL_ACCESS, &sub, nullptr), ERROR_SUCCESS);
      EXPECT_EQ(registry.RegCloseKey(sub), ERROR_SUCCESS);
    }
    EXPECT_EQ(registry.RegCloseKey(key), ERROR_SUCCESS);
  }
  const std::string output = s_wine->wine({"reg", "query", "HKCU\\Software\\TransvaleCheck\\Ours"});
  // Wine prints to a pipe in the OEM code page: é is 0x82 there.
  const ValueMap expected = {
      {"(Default)", {"REG_SZ", "default"}},
      {"Path", {"REG_SZ", "C:\\Program Files\\App"}},
      {"Quote", {"REG_SZ", "say \"hi\" [x] \\\\server\\share"}},
      {"Caf\x82", {"REG_SZ", "\x82t\x82"}},
      {"Expand", {"REG_EXPAND_SZ", "%SystemRoot%\\x"}},
      {"Multi", {"REG_MULTI_SZ", "a\\0b"}},
      {"Bits", {"REG_BINARY", "0AFF00"}},
      {"Long", {"REG_BINARY", repeated("5A", 100)}},
      {"Count", {"REG_DWORD", "0x1a"}},
  };
  EXPECT_EQ(parseRegQuery(output), expected) << output;
  EXPECT_NE(output.find("HKEY_CURRENT_USER\\Software\\TransvaleCheck\\Ours\\sub a\r\n"
                        "HKEY_CURRENT_USER\\Software\\TransvaleCheck\\Ours\\Sub B\r\n"),
            std::string::npos)
      << output;
}

TEST_F(WineRegistryTest, WeReadWhatWineWrites) {
  const std::string key = "HKCU\\Software\\TransvaleCheck\\Wine";
  const std::vector<std::vector<std::string>> adds = {
      {"/ve", "/d", "default"},
      {"/v", "Str", "/d", "C:\\Data\\x"},
      {"/v", "Quote", "/d", "he said \"hi\""},
      {"/v", "Accents", "/d", "caf\xc3\xa9 \xe2\x82\xac"},  // UTF-8 on the command line
      {"/v", "Expand", "/t", "REG_EXPAND_SZ", "/d", "%USERPROFILE%\\x"},
      {"/v", "Multi", "/t", "REG_MULTI_SZ", "/d", "a\\0b"},
      {"/v", "Bin", "/t", "REG_BINARY", "/d", "0aff00"},
      {"/v", "Dw", "/t", "REG_DWORD", "/d", "26"},
      {"/v", "Qw", "/t", "REG_QWORD", "/d", "0x1122334455"},
  };
  s_wine->keepServer();
  for (const auto& add : adds) {
    std::vector<std::string> args = {"reg", "add", key};
    args.insert(args.end(), add.begin(), add.end());
    args.push_back("/f");
    // NOTE: on a heavily loaded machine Wine's reg once lost one value; a second try tells that
    // apart from a value our reader misses, and the output says what Wine answered.
    std::string answer = s_wine->wine(args);
    if (answer.find("successfully") == std::string::npos) answer = s_wine->wine(args);
    EXPECT_NE(answer.find("successfully"), std::string::npos) << add[1] << ": " << answer;
  }
  s_wine->wine({"reg", "add", key + "\\[bracket] key", "/f"});
  s_wine->stopServer();

  NativeRegistry registry(s_wine->prefix());
  const auto query = [&](const char* name) -> std::pair<DWORD, std::string> {
    HKEY handle = 0;
    if (registry.RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\TransvaleCheck\\Wine", 0, KEY_READ,
                               &handle) != ERROR_SUCCESS) {
      return {0xFFFFFFFF, "no key"};
    }
    BYTE data[256];
    DWORD size = sizeof data;
    DWORD type = 0;
    const Status status = registry.RegQueryValueExA(handle, name, &type, data, &size);
    EXPECT_EQ(registry.RegCloseKey(handle), ERROR_SUCCESS);
    if (status.failed()) return {0xFFFFFFFF, "status " + toString(status)};
    return {type, std::string(reinterpret_cast<char*>(data), size)};
  };
  const auto sz = [](const std::string& text) { return std::make_pair(REG_SZ, text + '\0'); };
  EXPECT_EQ(query(""), sz("default"));
  EXPECT_EQ(query("Str"), sz("C:\\Data\\x"));
  EXPECT_EQ(query("quote"), sz("he said \"hi\""));
  EXPECT_EQ(query("Accents"), sz("caf\xe9 \x80"));
  EXPECT_EQ(query("Expand"), std::make_pair(REG_EXPAND_SZ, std::string("%USERPROFILE%\\x") + '\0'));
  EXPECT_EQ(query("Multi"), std::make_pair(REG_MULTI_SZ, std::string("a\0b\0\0", 5)));
  EXPECT_EQ(query("Bin"), std::make_pair(REG_BINARY, std::string("\x0a\xff\x00", 3)));
  EXPECT_EQ(query("Dw"), std::make_pair(REG_DWORD, std::string("\x1a\0\0\0", 4)));
  EXPECT_EQ(query("Qw"), std::make_pair(REG_QWORD, std::string("\x55\x44\x33\x22\x11\0\0\0", 8)));
  HKEY bracket = 0;
  EXPECT_EQ(
      registry.RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\TransvaleCheck\\Wine\\[BRACKET] key", 0,
                             KEY_READ, &bracket),
      ERROR_SUCCESS);
  EXPECT_EQ(registry.RegCloseKey(bracket), ERROR_SUCCESS);
}

TEST_F(WineRegistryTest, OurImportAndWinesLeaveTheSameRegistry) {
  const std::string file =
      "REGEDIT4\r\n"
      "\r\n"
      "; exported by hand\r\n"
      "[HKEY_CURRENT_USER\\Software\\TransvaleImport]\r\n"
      "@=\"default\"\r\n"
      "\"Dir\"=\"C:\\\\Data\\\\Sample\"\r\n"
      "\"Unc\"=\"\\\\server\\share\"\r\n"
      "\"Escapes\"=\"q\\\"uote\\\" line\\nbreak\\r tab\\t\"\r\n"
      "\"Count\"=dword:0000001A\r\n"
      "\"Short\"=dword:1a2b\r\n"
      "\"Bits\"=hex:01,ab,00\r\n"
      "\"Empty\"=hex:\r\n"
      "\"Expand\"=hex(2):25,53,79,73,25,00\r\n"
      "\"NoNul\"=hex(2):61,62\r\n"
      "\"Multi\"=hex(7):61,00,62,00,00\r\n"
      "\"Qword\"=hex(b):88,77,66,55,\\\r\n"
      "  44,33,22,11\r\n"
      "\"Type0\"=hex(0):\r\n"
      "  \"Blanks\"  =  \"around\"   ; a comment\r\n"
      "\"Inner\"=\"an \"unescaped\" quote\"\r\n"
      "\"BadDword\"=dword:123456789\r\n"
      "\"BadHex\"=hex:01,1ff\r\n"
      "\"Caf\xe9\"=\"\xe9t\xe9 \x80\"\r\n"
      "\"ToDelete\"=\"x\"\r\n"
      "\"ToDelete\"=-\r\n"
      "\r\n"
      "[HKEY_CURRENT_USER\\Software\\TransvaleImport\\Gone\\Deep]\r\n"
      "\"x\"=\"1\"\r\n"
      "[-HKEY_CURRENT_USER\\Software\\TransvaleImport\\Gone]\r\n"
      "[HKEY_CURRENT_USER\\Software\\TransvaleImport\\Empty\\With Parents]\r\n"
      "[HKEY_NOWHERE\\Software\\TransvaleImport]\r\n"
      "\"Nowhere\"=\"lost\"\r\n"
      "[hkey_local_machine\\Software\\TransvaleImport]\r\n"
      "\"Machine\"=\"yes\"\r\n"
      "[HKEY_CLASSES_ROOT\\.transvale]\r\n"
      "@=\"transvalefile\"\r\n";
  const fs::path ours = s_wine->scratch() / "ours";
  fs::create_directories(ours);
  for (const char* name : {"system.reg", "user.reg"}) {
    fs::copy_file(s_wine->prefix() / name, ours / name, fs::copy_options::overwrite_existing);
  }
  {
    NativeRegistry registry(ours);
    EXPECT_TRUE(importRegFile(registry, file).imported);
  }
  const fs::path regFile = s_wine->scratch() / "import.reg";
  std::ofstream(regFile, std::ios::binary) << file;
  s_wine->wine({"regedit", "/s", regFile.string()});
  s_wine->stopServer();

  std::string wineState;
  std::string ourState;
  for (const auto& [root, path] :
       {std::make_pair(HKEY_CURRENT_USER, "Software\\TransvaleImport"),
        std::make_pair(HKEY_LOCAL_MACHINE, "Software\\TransvaleImport"),
        std::make_pair(HKEY_LOCAL_MACHINE, "Software\\Classes\\.transvale")}) {
    NativeRegistry wineRegistry(s_wine->prefix());
    dumpKey(wineRegistry, root, path, wineState);
    NativeRegistry ourRegistry(ours);
    dumpKey(ourRegistry, root, path, ourState);
  }
  EXPECT_EQ(ourState, wineState);
  EXPECT_NE(wineState.find("\"Machine\""), std::string::npos) << wineState;
}

}  // namespace
}  // namespace platform
