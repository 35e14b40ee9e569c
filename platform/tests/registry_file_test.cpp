// Wine registry files: reading, writing, and the round trip between them.
#include <gtest/gtest.h>

#include <string>

#include "registry_escapes.h"
#include "registry_file_reader.h"
#include "registry_file_writer.h"

namespace platform {
namespace {

constexpr FileTime kNow = 126'358'416'000'000'000ULL;

// A user.reg as Wine writes it: every value form, escapes, a class, a link, hex data wrapped
// after column 76, keys implied by their sub-keys, and lines we do not understand.
const std::string kCanonicalFile = R"(WINE REGISTRY Version 2
;; All keys relative to REGISTRY\\User\\S-1-5-21-0-0-0-1000

#arch=win64
;; a note somebody left

[] 1796861909
#time=1dd883bfb55a7a0
"RootValue"=dword:00000001

[Control Panel\\Desktop] 1796861909
#time=1dd883bfb55a7a0
"Wallpaper"="C:\\WINNT\\Bliss.bmp"
"WheelScrollLines"="3"

[Control Panel\\International\\\xd83c\xdf0e] 1796861909
#time=1dd883bfb55a7a0
@=""

[Environment] 1796861909
#time=1dd883bfb55a7a1
"TEMP"=str(2):"%USERPROFILE%\\Local Settings\\Temp"

[Software\\Classes\\Wow6432Node\\AppId] 1796861909
#time=1dd883bfb7c8dac
#link
"SymbolicLinkValue"=hex(6):5c,00,52,00,65,00,67,00,69,00,73,00,74,00,72,00,79,\
  00,5c,00,4d,00,61,00,63,00,68,00,69,00,6e,00,65,00,5c,00,53,00,6f,00,66,00,\
  74,00,77,00,61,00,72,00,65,00,5c,00,43,00,6c,00,61,00,73,00,73,00,65,00,73,\
  00,5c,00,41,00,70,00,70,00,49,00,64,00

[Software\\Sample] 1796861909
#time=1dd883bfb55a7a0
#class="Sample \"class\""
#future-option=1
@="default value"
"_under"="sorted before a"
"a"="x"
"Bits"=hex:0a,ff,00
"Count"=dword:0000001a
"Empty"=hex:
"EmptyString"=hex(1):
"HardwareInformation.DacType"=hex:49,00,6e,00,74,00,65,00,72,00,67,00,72,00,61,\
  00,74,00,65,00,64,00,20,00,52,00,41,00,4d,00,44,00,41,00,43,00,00,00
"Multi"=str(7):"a\0b\0"
; kept right after Multi
"NoNul"=hex(1):61,00,62,00
"Odd"=hex(2):61,00,62
"Other"=hex(b):88,77,66,55,44,33,22,11
"Quote \"q\""="tab\there\nline \\ \xe9t\xe9 d\x00e9but caf\xe9\e\0012\1"
"Short"=hex(4):01,02
"Zero"=hex(0):

[Software\\Sample\\\[bracket\]] 1796861909
#time=1dd883bfb55a7a0
)";

std::unique_ptr<RegistryHive> read(const std::string& bytes) {
  auto hive = readRegistryFile(bytes, kNow);
  EXPECT_TRUE(hive.ok()) << hive.status();
  return hive ? std::move(hive.value()) : nullptr;
}

std::u16string utf16(std::string_view ascii) { return std::u16string(ascii.begin(), ascii.end()); }

RegistryKey* findPath(RegistryHive& hive, std::initializer_list<std::u16string_view> names) {
  RegistryKey* key = hive.root.get();
  for (std::u16string_view name : names) {
    if (key == nullptr) return nullptr;
    key = key->findSubkey(name).get();
  }
  return key;
}

std::string bytesOf(std::initializer_list<int> values) {
  std::string bytes;
  for (int value : values) bytes += static_cast<char>(value);
  return bytes;
}

TEST(RegistryFile, CanonicalFileComesBackByteForByte) {
  const auto hive = read(kCanonicalFile);
  ASSERT_TRUE(hive);
  EXPECT_EQ(formatRegistryFile(*hive), kCanonicalFile);
}

TEST(RegistryFile, ReadsEveryValueForm) {
  const auto hive = read(kCanonicalFile);
  ASSERT_TRUE(hive);
  RegistryKey* sample = findPath(*hive, {u"software", u"SAMPLE"});
  ASSERT_NE(sample, nullptr);
  struct Expected {
    std::u16string_view name;
    DWORD type;
    std::string data;
  };
  const Expected cases[] = {
      {u"", REG_SZ, ""},  // checked by its size below
      {u"Bits", REG_BINARY, bytesOf({0x0a, 0xff, 0x00})},
      {u"Count", REG_DWORD, bytesOf({0x1a, 0, 0, 0})},
      {u"Empty", REG_BINARY, ""},
      {u"EmptyString", REG_SZ, ""},
      {u"Multi", REG_MULTI_SZ, bytesOf({'a', 0, 0, 0, 'b', 0, 0, 0, 0, 0})},
      {u"NoNul", REG_SZ, bytesOf({'a', 0, 'b', 0})},
      {u"Odd", REG_EXPAND_SZ, bytesOf({'a', 0, 'b'})},
      {u"Other", 11, bytesOf({0x88, 0x77, 0x66, 0x55, 0x44, 0x33, 0x22, 0x11})},
      {u"Short", REG_DWORD, bytesOf({1, 2})},
      {u"Zero", REG_NONE, ""},
  };
  for (const Expected& expected : cases) {
    SCOPED_TRACE(std::string(expected.name.begin(), expected.name.end()));
    const RegistryValue* value = sample->findValue(expected.name);
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(value->type, expected.type);
    if (!expected.name.empty()) {
      EXPECT_EQ(value->data, expected.data);
    }
  }
  EXPECT_EQ(sample->findValue(u"")->data.size(), utf16("default value").size() * 2 + 2);
  EXPECT_EQ(*sample->keyClass, u"Sample \"class\"");
  EXPECT_TRUE(findPath(*hive, {u"Software", u"Classes", u"Wow6432Node", u"AppId"})->isLink);
  EXPECT_NE(findPath(*hive, {u"Software", u"Sample", u"[bracket]"}), nullptr);
  EXPECT_NE(findPath(*hive, {u"Control Panel", u"International", u"\xd83c\xdf0e"}), nullptr);
  EXPECT_EQ(findPath(*hive, {u"Environment"})->modified, 0x1dd883bfb55a7a1ULL);
}

TEST(RegistryFile, ValuesOfEveryTypeSurviveWriteAndRead) {
  auto hive = RegistryHive::create("REGISTRY\\\\Machine", kNow);
  RegistryKey& key = *hive->root->addSubkey(u"Types", kNow);
  std::string everyByte;
  for (int i = 0; i < 256; ++i) everyByte += static_cast<char>(i);
  const std::pair<DWORD, std::string> values[] = {
      {REG_NONE, "x"},
      {REG_SZ, bytesOf({'a', 0, 0x1b, 0, 0xe9, 0, 0, 0})},
      {REG_SZ, "abc"},
      {REG_EXPAND_SZ, bytesOf({'%', 0, 0, 0})},
      {REG_BINARY, everyByte},
      {REG_DWORD, bytesOf({1, 2, 3, 4})},
      {REG_DWORD, bytesOf({1, 2, 3, 4, 5})},
      {REG_DWORD_BIG_ENDIAN, bytesOf({0, 0, 0, 1})},
      {REG_LINK, bytesOf({'\\', 0})},
      {REG_MULTI_SZ, std::string(6, '\0')},
      {8, "resource"},
      {REG_QWORD, bytesOf({1, 2, 3, 4, 5, 6, 7, 8})},
      {0x12345678, "odd type"},
  };
  for (std::size_t i = 0; i < std::size(values); ++i) {
    key.setValue(u"v" + utf16(std::to_string(i)), values[i].first, values[i].second);
  }
  const auto reread = read(formatRegistryFile(*hive));
  ASSERT_TRUE(reread);
  RegistryKey* types = findPath(*reread, {u"Types"});
  ASSERT_NE(types, nullptr);
  for (std::size_t i = 0; i < std::size(values); ++i) {
    SCOPED_TRACE(i);
    const RegistryValue* value = types->findValue(u"v" + utf16(std::to_string(i)));
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(value->type, values[i].first);
    EXPECT_EQ(value->data, values[i].second);
  }
}

struct EscapeCase {
  const char* label;
  std::u16string text;
  std::string quoted;
  std::string escaped;
};

// Names the case in test listings.
void PrintTo(const EscapeCase& c, std::ostream* out) { *out << c.label; }

class RegistryEscapes : public ::testing::TestWithParam<EscapeCase> {};

TEST_P(RegistryEscapes, WriteAndReadBack) {
  const EscapeCase& c = GetParam();
  EXPECT_EQ(escapeRegistryText(c.text, c.quoted), c.escaped);
  const char end = c.quoted.back();
  const auto back = unescapeRegistryText(c.escaped + end, end);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->text, c.text);
  EXPECT_EQ(back->consumed, c.escaped.size() + 1);
}

INSTANTIATE_TEST_SUITE_P(Cases, RegistryEscapes,
                         ::testing::Values(EscapeCase{"Backslash", u"C:\\Data", "\"", "C:\\\\Data"},
                                           EscapeCase{"Quotes", u"say \"hi\"", "\"",
                                                      "say \\\"hi\\\""},
                                           EscapeCase{"Brackets", u"[x]\"", "[]", "\\[x\\]\""},
                                           EscapeCase{"ControlCharacters", u"\a\b\t\n\v\f\r\x1b",
                                                      "\"", "\\a\\b\\t\\n\\v\\f\\r\\e"},
                                           EscapeCase{"Octal",
                                                      std::u16string(u"a\0b\x01"
                                                                     u"7\x1f",
                                                                     6),
                                                      "\"", "a\\0b\\0017\\37"},
                                           EscapeCase{"Accent", u"caf\u00e9", "\"", "caf\\xe9"},
                                           EscapeCase{"PaddedHex", u"\u00e9a\u00e9g\u20ac", "\"",
                                                      "\\x00e9a\\xe9g\\x20ac"},
                                           EscapeCase{"Delete", u"\x7f~", "\"", "\x7f~"}));

TEST(RegistryFile, ReadsEscapesWineAcceptsButNeverWrites) {
  const struct {
    std::string escaped;
    std::u16string text;
  } cases[] = {
      {"\\x41\\x", u"Ax"},
      {"\\x12345",
       u"\x1234"
       u"5"},
      {"\\101\\0", u"A" + std::u16string(1, u'\0')},
      {"\\q\\'", u"q'"},
      {"caf\xc3\xa9 \xe2\x82\xac", u"caf\u00e9 \u20ac"},  // raw UTF-8
      {"\xf0\x9f\x8c\x8e", u"\xd83c\xdf0e"},
      {"bad\xe9", u"bad\u00e9"},  // not UTF-8: the byte's own code unit
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.escaped);
    const auto text = unescapeRegistryText(c.escaped + "\"", '"');
    ASSERT_TRUE(text);
    EXPECT_EQ(text->text, c.text);
  }
  EXPECT_FALSE(unescapeRegistryText("no end", '"'));
  EXPECT_FALSE(unescapeRegistryText("ends in \\", '"'));
}

TEST(RegistryFile, LoadsLeniently) {
  const std::string file =
      "WINE REGISTRY Version 2\r\n"
      "#arch=win64\r\n"
      "\r\n"
      "[Software\\\\A] 1796861909\r\n"
      "\"one\"=\"1\"\r\n"
      "\"bad\"=hex:zz,01\r\n"
      "\"broken name=\"x\"\r\n"
      "garbage line\r\n"
      "\"one\"=\"2\"\r\n"
      "\r\n"
      "[Software\\\\B\r\n"
      "\"lost\"=\"y\"\r\n"
      "\r\n"
      "[Software\\\\a] 1796861909\r\n"
      "\"two\"=dword:2\r\n";
  const auto hive = read(file);
  ASSERT_TRUE(hive);
  RegistryKey* a = findPath(*hive, {u"Software", u"A"});
  ASSERT_NE(a, nullptr);
  ASSERT_EQ(a->values.size(), 3u);  // one, bad, two: the repeated key merged
  EXPECT_EQ(a->values[0].name, u"one");
  EXPECT_EQ(a->values[0].data, bytesOf({'2', 0, 0, 0}));
  EXPECT_EQ(a->values[1].type, REG_NONE);
  EXPECT_TRUE(a->values[1].data.empty());
  EXPECT_EQ(findPath(*hive, {u"Software", u"B"}), nullptr);
  EXPECT_EQ(findPath(*hive, {u"Software"})->subkeys.size(), 1u);

  // Nothing is lost on the way out: the damaged value and the lines not understood stay.
  const std::string written = formatRegistryFile(*hive);
  for (const char* kept : {"\"bad\"=hex:zz,01\n", "\"broken name=\"x\"\n", "garbage line\n",
                           "[Software\\\\B\n\"lost\"=\"y\"\n"}) {
    EXPECT_NE(written.find(kept), std::string::npos) << kept << " in\n" << written;
  }
  // ...and the written file reads back the same.
  EXPECT_EQ(formatRegistryFile(*read(written)), written);
}

TEST(RegistryFile, ContinuedHexReadsAcrossLines) {
  const auto hive = read(
      "WINE REGISTRY Version 2\n\n[K] 1\n\"h\"=hex(3):01,\\\n  02,\\\n  03\n\"after\"=\"z\"\n");
  ASSERT_TRUE(hive);
  RegistryKey* key = findPath(*hive, {u"K"});
  ASSERT_NE(key, nullptr);
  EXPECT_EQ(key->findValue(u"h")->data, bytesOf({1, 2, 3}));
  EXPECT_NE(key->findValue(u"after"), nullptr);
}

TEST(RegistryFile, ABrokenContinuationNeverTakesTheNextKey) {
  const std::string file =
      "WINE REGISTRY Version 2\n\n[A] 1\n\"v\"=hex:01,\\\n[B] 2\n\"w\"=dword:00000001\n";
  const auto hive = read(file);
  ASSERT_TRUE(hive);
  RegistryKey* a = findPath(*hive, {u"A"});
  RegistryKey* b = findPath(*hive, {u"B"});
  ASSERT_NE(a, nullptr);
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(a->findValue(u"v")->type, REG_NONE);  // damaged: kept as its text
  EXPECT_EQ(a->findValue(u"w"), nullptr);
  EXPECT_NE(b->findValue(u"w"), nullptr);
  // Written and read again, every value stays in its own key.
  const std::string written = formatRegistryFile(*hive);
  const auto again = read(written);
  ASSERT_TRUE(again);
  EXPECT_NE(findPath(*again, {u"B"})->findValue(u"w"), nullptr) << written;
  EXPECT_EQ(findPath(*again, {u"A"})->findValue(u"w"), nullptr) << written;
}

// Damaged files whose first rewrite once read differently from the file itself: a rewrite must
// read back, and rewritten again, be the same bytes.
TEST(RegistryFile, ARewriteOfADamagedFileIsWrittenAgainTheSame) {
  for (const char* file : {
           // Values behind an unreadable key line belong to no key: sorted in among the key's
           // values, the "#arch=" line came to stand outside any key and refused the file.
           "WINE REGISTRY Version 2\n[]0\n\"TP\"=\n#arch=\n\"S\"=\n[\n",
           // Hex continued onto the next key's line: the blank line a rewrite puts before that
           // key made the damaged value read.
           "WINE REGISTRY Version 2\n[]\n\"\"=hex(6):\\\n[St]\n",
           "WINE REGISTRY Version 2\n\n[A] 1\n\"v\"=hex:01,\\\n\n  02\n",
           // A value named twice: the lines kept after the first came to follow the second,
           // damaged one, whose backslash took them up once rewritten.
           "WINE REGISTRY Version 2\n\n[]\n\"D\"=,\n 0,\n\"D\"=hex:\\0\n",
           // A kept line after a damaged value that ends in a backslash: the key option between
           // them is dropped, and read again the value took the kept line up as hex data.
           "WINE REGISTRY Version 2\n[?]\n\"S\"=hex:a\\\n #time=\na\n",
           // A kept line ending in CR CR LF: written back as CR LF, it read as a shorter line.
           "WINE REGISTRY Version 2\n;\r\r\n"}) {
    SCOPED_TRACE(file);
    const auto hive = read(file);
    ASSERT_TRUE(hive);
    const std::string written = formatRegistryFile(*hive);
    const auto again = read(written);
    ASSERT_TRUE(again) << written;
    EXPECT_EQ(formatRegistryFile(*again), written);
  }
}

TEST(RegistryFile, RefusesBadHeaderOrArchitecture) {
  for (const char* file : {"", "WINE REGISTRY Version 1\n", "REGEDIT4\n[K]\n",
                           "WINE REGISTRY Version 2\n#arch=arm64\n",
                           "WINE REGISTRY Version 2\n\n[K] 1\n#arch=x\n[\n#arch=x\n"}) {
    SCOPED_TRACE(file);
    const auto hive = readRegistryFile(file, kNow);
    EXPECT_FALSE(hive.ok());
    EXPECT_EQ(hive.status(), ERROR_BADDB);
  }
  // #arch inside a key is an option Wine does not know: kept, not refused.
  EXPECT_TRUE(readRegistryFile("WINE REGISTRY Version 2\n\n[K] 1\n#arch=x\n", kNow).ok());
}

TEST(RegistryFile, KeysWithOnlySubkeysAreImplied) {
  auto hive = RegistryHive::create("REGISTRY\\\\Machine", 0x1dd883bfb55a7a0ULL);
  hive->root->addSubkey(u"Parent", 0x1dd883bfb55a7a0ULL)->addSubkey(u"Child", 0x1dd883bfb55a7a0ULL);
  EXPECT_EQ(formatRegistryFile(*hive),
            "WINE REGISTRY Version 2\n"
            ";; All keys relative to REGISTRY\\\\Machine\n"
            "\n"
            "#arch=win64\n"
            "\n"
            "[Parent\\\\Child] 1796861909\n"
            "#time=1dd883bfb55a7a0\n");
}

TEST(RegistryFile, UnknownLinesOfARemovedValueStay) {
  auto hive = read(kCanonicalFile);
  ASSERT_TRUE(hive);
  RegistryKey* sample = findPath(*hive, {u"Software", u"Sample"});
  ASSERT_TRUE(sample->removeValue(u"Multi"));
  const std::string written = formatRegistryFile(*hive);
  EXPECT_EQ(written.find("\"Multi\""), std::string::npos);
  EXPECT_NE(written.find("; kept right after Multi\n"), std::string::npos);
}

}  // namespace
}  // namespace platform
