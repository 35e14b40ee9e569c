#include "capture/reg_export.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "export_cases.h"
#include "platform/text_file.h"
#include "testing/test_program.h"
#include "platform/testing/watched_registry.h"

namespace migration {
namespace {

using platform::DWORD;
using platform::HKEY;
using platform::HKEY_CURRENT_USER;
using platform::HKEY_LOCAL_MACHINE;

constexpr const char* kFile = "C:\\out.mig";
constexpr const char* kSystemVariables =
    "System\\CurrentControlSet\\Control\\Session Manager\\Environment";

std::string repeated(const std::string& text, std::size_t times) {
  std::string out;
  for (std::size_t i = 0; i < times; ++i) out += text;
  return out;
}

// An export from a machine that runs Windows NT unless a test says otherwise, with a size limit
// of 256000 as the main window holds it.
class RegExportTest : public ::testing::Test {
 protected:
  RegExportTest() { setOs("Windows_NT"); }

  void setOs(const std::string& os) {
    m_test.setRegistryText(HKEY_LOCAL_MACHINE, kSystemVariables, "OS", os);
  }
  void removeOs() {
    HKEY key = 0;
    ASSERT_EQ(registry().RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSystemVariables, 0,
                                       platform::KEY_ALL_ACCESS, &key),
              platform::ERROR_SUCCESS);
    EXPECT_EQ(registry().RegDeleteValueA(key, "OS"), platform::ERROR_SUCCESS);
    EXPECT_EQ(registry().RegCloseKey(key), platform::ERROR_SUCCESS);
  }
  void set(const std::string& key, const std::string& name, DWORD type, const std::string& data,
           HKEY root = HKEY_CURRENT_USER) {
    m_test.testMachine().setRegistryValue(root, key, name, type, data);
  }
  void makeKey(const std::string& key) {
    HKEY handle = 0;
    ASSERT_EQ(registry().RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), platform::KEY_ALL_ACCESS,
                                         &handle, nullptr),
              platform::ERROR_SUCCESS);
    EXPECT_EQ(registry().RegCloseKey(handle), platform::ERROR_SUCCESS);
  }

  ExportReport exportKey(const std::string& key, HKEY root = HKEY_CURRENT_USER,
                         const std::string& file = kFile) {
    ExportContext context{m_watched, m_test.files(), m_test.machine().environment(),
                          [this] {
                            ++m_events;
                            if (m_onEvent) m_onEvent();
                          },
                          [this] { return m_limit; }};
    return ExportRegistryKey(context, root, key, file);
  }
  std::string fileText(const std::string& file = kFile) {
    auto text = platform::readWholeFile(m_test.files(), file);
    return text ? *text : "(no file)";
  }
  platform::Registry& registry() { return m_test.machine().registry(); }

  testing::TestProgram m_test;
  platform::testing::WatchedRegistry m_watched{m_test.machine().registry()};
  std::string m_limit = "256000";
  int m_events = 0;
  std::function<void()> m_onEvent;
};

// One value in a key of its own, and the line the export writes for it.
struct FormCase {
  const char* label;
  std::string name;
  DWORD type;
  std::string data;
  std::string line;
};
void PrintTo(const FormCase& c, std::ostream* out) { *out << c.label; }

class ValueFormTest : public RegExportTest, public ::testing::WithParamInterface<FormCase> {};

TEST_P(ValueFormTest, WritesTheLineThatImportsBackUnchanged) {
  const FormCase& form = GetParam();
  set("Software\\Forms", form.name, form.type, form.data);
  const ExportReport report = exportKey("Software\\Forms");
  EXPECT_EQ(fileText(), "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Forms]\r\n" + form.line +
                            "\r\n\r\n\r\n");
  EXPECT_EQ(report.valuesWritten, 1u);
  EXPECT_TRUE(report.complete());
}

const std::string k30As = repeated("41,", 29) + "41";

INSTANTIATE_TEST_SUITE_P(
    Types, ValueFormTest,
    ::testing::Values(
        FormCase{"Text", "Name", platform::REG_SZ, std::string("plain text\0", 11),
                 "\"Name\"=\"plain text\""},
        FormCase{"DrivePath", "Dir", platform::REG_SZ, std::string("C:\\Program Files\\App\0", 21),
                 "\"Dir\"=\"C:\\\\Program Files\\\\App\""},
        // The old export left these backslashes single, which an import drops.
        FormCase{"UncPath", "Unc", platform::REG_SZ, std::string("\\\\server\\share\0", 15),
                 "\"Unc\"=\"\\\\\\\\server\\\\share\""},
        FormCase{"VariablePath", "Var", platform::REG_SZ, std::string("%SystemRoot%\\x\0", 15),
                 "\"Var\"=\"%SystemRoot%\\\\x\""},
        FormCase{"QuotesInData", "Q", platform::REG_SZ, std::string("say \"hi\"\0", 9),
                 "\"Q\"=\"say \\\"hi\\\"\""},
        FormCase{"QuotesInName", "a\"b\\c", platform::REG_SZ, std::string("v\0", 2),
                 "\"a\\\"b\\\\c\"=\"v\""},
        FormCase{"AnsiText", "Caf\xe9", platform::REG_SZ, std::string("\xe9t\xe9\0", 4),
                 "\"Caf\xe9\"=\"\xe9t\xe9\""},
        FormCase{"DefaultValue", "", platform::REG_SZ, std::string("plain\0", 6), "@=\"plain\""},
        FormCase{"DefaultEmptyText", "", platform::REG_SZ, std::string(1, '\0'), "@=\"\""},
        FormCase{"DefaultWithoutData", "", platform::REG_BINARY, "", "\"\"=hex:"},
        FormCase{"TextWithoutData", "T", platform::REG_SZ, "", "\"T\"=hex(1):"},
        FormCase{"TextWithInnerNul", "T", platform::REG_SZ, std::string("a\0b\0", 4),
                 "\"T\"=hex(1):61,00,62,00"},
        FormCase{"TextWithoutFinalNul", "T", platform::REG_SZ, "ab", "\"T\"=hex(1):61,62"},
        FormCase{"TextWithLineBreak", "T", platform::REG_SZ, std::string("a\r\nb\0", 5),
                 "\"T\"=hex(1):61,0d,0a,62,00"},
        FormCase{"ExpandText", "E", platform::REG_EXPAND_SZ, std::string("%a%\0", 4),
                 "\"E\"=hex(2):25,61,25,00"},
        FormCase{"MultiText", "M", platform::REG_MULTI_SZ, std::string("a\0b\0\0", 5),
                 "\"M\"=hex(7):61,00,62,00,00"},
        FormCase{"Dword", "D", platform::REG_DWORD, std::string("\x0a\0\0\0", 4),
                 "\"D\"=dword:0000000A"},
        FormCase{"DwordHighBytes", "D", platform::REG_DWORD, "\x12\xef\xcd\xab",
                 "\"D\"=dword:ABCDEF12"},
        FormCase{"DwordOfTwoBytes", "D", platform::REG_DWORD, "\x01\x02", "\"D\"=hex(4):01,02"},
        FormCase{"Binary", "B", platform::REG_BINARY, std::string("\x01\xab\x00", 3),
                 "\"B\"=hex:01,ab,00"},
        FormCase{"BinaryEmpty", "B", platform::REG_BINARY, "", "\"B\"=hex:"},
        FormCase{"BinaryStaysOnOneLine", "B", platform::REG_BINARY, std::string(40, '\xab'),
                 "\"B\"=hex:" + repeated("ab,", 39) + "ab"},
        FormCase{"None", "N", platform::REG_NONE, "\x01", "\"N\"=hex(0):01"},
        FormCase{"BigEndian", "D", platform::REG_DWORD_BIG_ENDIAN, std::string("\0\0\0\x1a", 4),
                 "\"D\"=hex(5):00,00,00,1a"},
        FormCase{"Qword", "Q", platform::REG_QWORD, std::string("\x01\0\0\0\0\0\0\x02", 8),
                 "\"Q\"=hex(b):01,00,00,00,00,00,00,02"},
        FormCase{"UnknownType", "U", 0x12345, std::string(1, '\0'), "\"U\"=hex(12345):00"},
        // Long typed data breaks after the comma past column 76, as the registry editor does.
        FormCase{"TypedDataContinues", "W", platform::REG_EXPAND_SZ, std::string(30, 'A'),
                 "\"W\"=hex(2):" + repeated("41,", 22) + "\\\r\n  " + repeated("41,", 7) + "41"},
        FormCase{"TextLongerThanTheBuffer", "L", platform::REG_SZ, std::string(2000, 'x') + '\0',
                 "\"L\"=\"" + std::string(2000, 'x') + "\""},
        FormCase{"NameLongerThanTheBuffer", std::string(1500, 'n'), platform::REG_SZ,
                 std::string("v\0", 2), "\"" + std::string(1500, 'n') + "\"=\"v\""}),
    [](const ::testing::TestParamInfo<FormCase>& info) { return info.param.label; });

TEST_F(RegExportTest, AValueTooLongForTheBufferKeepsTheValuesAfterIt) {
  set("Software\\Long", "Big", platform::REG_BINARY, std::string(2000, '\x5a'));
  set("Software\\Long", std::string(1024, 'n'), platform::REG_SZ, std::string("n\0", 2));
  for (const char* name : {"a", "b", "c"}) {
    set("Software\\Long", name, platform::REG_SZ, std::string("x\0", 2));
  }
  const ExportReport report = exportKey("Software\\Long");
  EXPECT_EQ(report.valuesWritten, 5u);
  const std::string text = fileText();
  EXPECT_NE(text.find("\"Big\"=hex:" + repeated("5a,", 1999) + "5a\r\n"), std::string::npos);
  EXPECT_NE(text.find("\"" + std::string(1024, 'n') + "\"=\"n\"\r\n"), std::string::npos);
  EXPECT_NE(text.find("\"a\"=\"x\"\r\n\"b\"=\"x\"\r\n\"c\"=\"x\"\r\n\r\n\r\n"), std::string::npos);
}

TEST_F(RegExportTest, ANameWithALineBreakIsPassedOverAndReported) {
  set("Software\\Break", "a\r\nb", platform::REG_SZ, std::string("1\0", 2));
  set("Software\\Break", "after", platform::REG_SZ, std::string("2\0", 2));
  const ExportReport report = exportKey("Software\\Break");
  EXPECT_EQ(fileText(),
            "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Break]\r\n\"after\"=\"2\"\r\n\r\n\r\n");
  ASSERT_EQ(report.valuesPassedOver.size(), 1u);
  EXPECT_EQ(report.valuesPassedOver[0].name, "a\r\nb");
  EXPECT_FALSE(report.complete());
}

// Office 97 settings move to where Office XP looks for them.
struct OfficeCase {
  const char* label;
  std::string name;
  DWORD type;
  std::string data;
  std::string line;
};
void PrintTo(const OfficeCase& c, std::ostream* out) { *out << c.label; }

class OfficeRewriteTest : public RegExportTest, public ::testing::WithParamInterface<OfficeCase> {};

TEST_P(OfficeRewriteTest, RewritesKeysNamesAndText) {
  const OfficeCase& office = GetParam();
  set("Software\\Microsoft\\Office\\8.0\\Word", office.name, office.type, office.data);
  exportKey("Software\\Microsoft\\Office\\8.0\\Word");
  EXPECT_EQ(fileText(),
            "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Microsoft\\Office\\10.0\\Word]\r\n" +
                office.line + "\r\n\r\n\r\n");
}

const std::string kPrograms = "C:\\Program Files\\Microsoft Office\\Office";
const std::string kEscapedPrograms = "C:\\\\Program Files\\\\Microsoft Office\\\\Office";

INSTANTIATE_TEST_SUITE_P(
    Rules, OfficeRewriteTest,
    ::testing::Values(
        OfficeCase{"VersionInText", "Key", platform::REG_SZ,
                   std::string("Software\\Microsoft\\Office\\8.0\\Common\0", 37),
                   "\"Key\"=\"Software\\\\Microsoft\\\\Office\\\\10.0\\\\Common\""},
        OfficeCase{"VersionInName", "Office\\8.0 list", platform::REG_DWORD,
                   std::string("\1\0\0\0", 4), "\"Office\\\\10.0 list\"=dword:00000001"},
        OfficeCase{"ProgramDirectory", "P", platform::REG_SZ, kPrograms + "\\WINWORD.EXE" + '\0',
                   "\"P\"=\"" + kEscapedPrograms + "10\\\\WINWORD.EXE\""},
        OfficeCase{"ProgramDirectoryAtTheEnd", "P", platform::REG_SZ, kPrograms + '\0',
                   "\"P\"=\"" + kEscapedPrograms + "10\""},
        OfficeCase{"AlreadyOffice10", "P", platform::REG_SZ, kPrograms + "10\\x" + '\0',
                   "\"P\"=\"" + kEscapedPrograms + "10\\\\x\""},
        OfficeCase{"AnotherOfficeDirectory", "P", platform::REG_SZ, kPrograms + "11\\x" + '\0',
                   "\"P\"=\"" + kEscapedPrograms + "11\\\\x\""},
        // A drive path keeps its version; other text keeps its directory.
        OfficeCase{"VersionInDrivePath", "P", platform::REG_SZ,
                   std::string("C:\\Office\\8.0\\x\0", 16), "\"P\"=\"C:\\\\Office\\\\8.0\\\\x\""},
        OfficeCase{"DirectoryInOtherText", "P", platform::REG_SZ,
                   std::string("%ProgramFiles%\\Microsoft Office\\Office\\x\0", 41),
                   "\"P\"=\"%ProgramFiles%\\\\Microsoft Office\\\\Office\\\\x\""},
        OfficeCase{"MultiTextDrivePath", "M", platform::REG_MULTI_SZ,
                   std::string("C:\\Microsoft Office\\Office\0\0", 28),
                   "\"M\"=hex(7):43,3a,5c,4d,69,63,72,6f,73,6f,66,74,20,4f,66,66,69,63,65,5c,4f,"
                   "66,\\\r\n  66,69,63,65,31,30,00,00"},
        // The old export never carried these, so nothing rewrites them.
        OfficeCase{"ExpandTextUntouched", "E", platform::REG_EXPAND_SZ,
                   std::string("C:\\Microsoft Office\\Office\0", 27),
                   "\"E\"=hex(2):43,3a,5c,4d,69,63,72,6f,73,6f,66,74,20,4f,66,66,69,63,65,5c,4f,"
                   "66,\\\r\n  66,69,63,65,00"},
        // Tokens that the old export escaped by hand come out escaped like any backslash.
        OfficeCase{"Tokens", "T", platform::REG_SZ,
                   std::string("[office]\\Office;[office]\\QuickShelf;[2]\\Accessories\0", 52),
                   "\"T\"=\"[office]\\\\Office;[office]\\\\QuickShelf;[2]\\\\Accessories\""}),
    [](const ::testing::TestParamInfo<OfficeCase>& info) { return info.param.label; });

TEST_F(RegExportTest, WalksKeysInPreOrderWithValuesFirst) {
  set("Software\\Tree", "top", platform::REG_DWORD, std::string("\1\0\0\0", 4));
  set("Software\\Tree\\b", "x", platform::REG_SZ, std::string("1\0", 2));
  set("Software\\Tree\\A\\Deep", "y", platform::REG_SZ, std::string("2\0", 2));
  makeKey("Software\\Tree\\A\\Empty");
  set("Software\\Tree\\c", "z", platform::REG_SZ, std::string("3\0", 2));

  const ExportReport report = exportKey("  Software\\Tree ");
  EXPECT_EQ(fileText(),
            "REGEDIT4\r\n\r\n"
            "[HKEY_CURRENT_USER\\Software\\Tree]\r\n\"top\"=dword:00000001\r\n\r\n"
            "[HKEY_CURRENT_USER\\Software\\Tree\\A]\r\n\r\n"
            "[HKEY_CURRENT_USER\\Software\\Tree\\A\\Deep]\r\n\"y\"=\"2\"\r\n\r\n"
            "[HKEY_CURRENT_USER\\Software\\Tree\\A\\Empty]\r\n\r\n"
            "[HKEY_CURRENT_USER\\Software\\Tree\\b]\r\n\"x\"=\"1\"\r\n\r\n"
            "[HKEY_CURRENT_USER\\Software\\Tree\\c]\r\n\"z\"=\"3\"\r\n\r\n"
            "\r\n");
  EXPECT_EQ(report.key, "HKEY_CURRENT_USER\\Software\\Tree");
  EXPECT_EQ(report.keysWritten, 6u);
  EXPECT_EQ(report.valuesWritten, 4u);
  EXPECT_EQ(m_events, 5);  // once before each sub-key
  EXPECT_EQ(m_watched.openKeys, 0);
  EXPECT_TRUE(report.complete());
}

struct SystemCase {
  const char* label;
  std::optional<std::string> os;
  bool desktopKeysExported;
};
void PrintTo(const SystemCase& c, std::ostream* out) { *out << c.label; }

class DesktopKeysTest : public RegExportTest, public ::testing::WithParamInterface<SystemCase> {};

// Windows 95/98 keep the desktop's look in keys that stay behind, at every depth.
TEST_P(DesktopKeysTest, LeavesTheLookOfWindows9xBehind) {
  const char* const names[] = {"Appearance", "Desktop", "PowerCfg", "WindowMetrics",
                               "Microsoft Input Devices"};
  for (const char* name : names) makeKey(std::string("Control Panel\\") + name + "\\Inner");
  set("Control Panel\\Colors\\Desktop", "x", platform::REG_SZ, std::string("1\0", 2));
  set("Control Panel\\Colors\\desktop lower", "y", platform::REG_SZ, std::string("2\0", 2));
  if (GetParam().os) {
    setOs(*GetParam().os);
  } else {
    removeOs();
  }

  const ExportReport report = exportKey("Control Panel");
  const std::string text = fileText();
  for (const char* name : names) {
    EXPECT_EQ(text.find(std::string("[HKEY_CURRENT_USER\\Control Panel\\") + name + "]") !=
                  std::string::npos,
              GetParam().desktopKeysExported)
        << name;
  }
  EXPECT_EQ(text.find("[HKEY_CURRENT_USER\\Control Panel\\Colors\\Desktop]") != std::string::npos,
            GetParam().desktopKeysExported);
  EXPECT_NE(text.find("[HKEY_CURRENT_USER\\Control Panel\\Colors\\desktop lower]"),
            std::string::npos);
  EXPECT_EQ(report.keysLeftOut, GetParam().desktopKeysExported ? 0u : 6u);
}

INSTANTIATE_TEST_SUITE_P(Systems, DesktopKeysTest,
                         ::testing::Values(SystemCase{"WindowsNT", "Windows_NT", true},
                                           SystemCase{"Windows98", std::nullopt, false},
                                           SystemCase{"OtherCase", "windows_nt", false}),
                         [](const ::testing::TestParamInfo<SystemCase>& info) {
                           return info.param.label;
                         });

TEST_F(RegExportTest, TheSizeLimitStopsBeforeTheNextKeyAndSaysWhere) {
  set("Software\\Big", "a", platform::REG_SZ, std::string(30, 'a') + '\0');
  set("Software\\Big\\One", "b", platform::REG_SZ, std::string(30, 'b') + '\0');
  set("Software\\Big\\One\\Deep", "c", platform::REG_SZ, std::string("c\0", 2));
  set("Software\\Big\\Two", "d", platform::REG_SZ, std::string("d\0", 2));
  m_limit = " 100 ";  // the first key's text is shorter, the second's passes it

  const ExportReport report = exportKey("Software\\Big");
  EXPECT_EQ(fileText(),
            "REGEDIT4\r\n\r\n"
            "[HKEY_CURRENT_USER\\Software\\Big]\r\n\"a\"=\"" +
                std::string(30, 'a') +
                "\"\r\n\r\n"
                "[HKEY_CURRENT_USER\\Software\\Big\\One]\r\n\"b\"=\"" +
                std::string(30, 'b') + "\"\r\n\r\n\r\n");
  EXPECT_TRUE(report.cutByLimit);
  EXPECT_EQ(report.cutAtKey, "HKEY_CURRENT_USER\\Software\\Big\\One\\Deep");
  EXPECT_EQ(DescribeExport(report).back(),
            "  cut by the size limit: HKEY_CURRENT_USER\\Software\\Big\\One\\Deep and the keys "
            "after it are missing");
  EXPECT_FALSE(report.complete());
  EXPECT_EQ(report.fileStatus, platform::ERROR_SUCCESS);
}

TEST_F(RegExportTest, TheLimitIsReadAfreshAtEveryKey) {
  for (const char* key : {"Software\\L\\1", "Software\\L\\2", "Software\\L\\3"}) makeKey(key);
  m_onEvent = [this] {
    if (m_events == 2) m_limit = "0";  // the user lowers it while the export runs
  };
  const ExportReport report = exportKey("Software\\L");
  EXPECT_EQ(report.keysWritten, 2u);
  EXPECT_EQ(report.cutAtKey, "HKEY_CURRENT_USER\\Software\\L\\2");
}

TEST_F(RegExportTest, ALimitThatIsNoNumberLimitsNothingAndIsReported) {
  for (const char* key : {"Software\\L\\1", "Software\\L\\2"}) makeKey(key);
  m_limit = "";
  const ExportReport report = exportKey("Software\\L");
  EXPECT_EQ(report.keysWritten, 3u);
  EXPECT_FALSE(report.cutByLimit);
  EXPECT_TRUE(report.limitUnreadable);
}

TEST_F(RegExportTest, KeysThatCannotBeOpenedAreSkippedWithTheirSubTreeAndCounted) {
  set("Software\\Some\\Before", "a", platform::REG_SZ, std::string("1\0", 2));
  set("Software\\Some\\Secret", "b", platform::REG_SZ, std::string("2\0", 2));
  set("Software\\Some\\Secret\\Below", "c", platform::REG_SZ, std::string("3\0", 2));
  set("Software\\Some\\Later", "d", platform::REG_SZ, std::string("4\0", 2));
  m_watched.refuse("Secret");

  const ExportReport report = exportKey("Software\\Some");
  const std::string text = fileText();
  EXPECT_EQ(text.find("Secret"), std::string::npos);
  EXPECT_NE(text.find("[HKEY_CURRENT_USER\\Software\\Some\\Later]\r\n\"d\"=\"4\""),
            std::string::npos);
  ASSERT_EQ(report.keysSkipped.size(), 1u);
  EXPECT_EQ(report.keysSkipped[0].key, "HKEY_CURRENT_USER\\Software\\Some\\Secret");
  EXPECT_EQ(report.keysSkipped[0].status,
            platform::ERROR_ACCESS_DENIED);
  EXPECT_EQ(m_watched.openKeys, 0);
  EXPECT_TRUE(std::all_of(m_watched.accesses.begin(), m_watched.accesses.end(),
                          [](platform::REGSAM access) { return access == platform::KEY_READ; }));
}

TEST_F(RegExportTest, AMissingKeyLeavesAFileWithTheHeaderOnly) {
  m_test.writeFile(kFile, std::string(500, 'x'));  // the file of an earlier capture
  const ExportReport report = exportKey("Software\\Missing");
  EXPECT_EQ(fileText(), "REGEDIT4\r\n\r\n\r\n");
  EXPECT_EQ(report.keysWritten, 0u);
  EXPECT_EQ(report.keysSkipped.size(), 1u);
  EXPECT_EQ(report.fileStatus, platform::ERROR_SUCCESS);
}

TEST_F(RegExportTest, AFileThatCannotBeWrittenIsReported) {
  set("Software\\X", "a", platform::REG_SZ, std::string("1\0", 2));
  const ExportReport report = exportKey("Software\\X", HKEY_CURRENT_USER, "C:\\No\\Such\\x.mig");
  EXPECT_EQ(report.fileStatus, platform::ERROR_PATH_NOT_FOUND);
  EXPECT_FALSE(report.complete());
  EXPECT_EQ(report.valuesWritten, 1u);
}

struct RootCase {
  const char* label;
  HKEY root;
  std::string exported;  // the key path below `root`
  std::string stored;    // where the machine keeps it, below HKEY_LOCAL_MACHINE or the user's
  HKEY storedRoot;
  std::string keyLine;
};
void PrintTo(const RootCase& c, std::ostream* out) { *out << c.label; }

class RootTest : public RegExportTest, public ::testing::WithParamInterface<RootCase> {};

TEST_P(RootTest, ExportsFromItsOwnRootUnderItsFullName) {
  const RootCase& root = GetParam();
  set(root.stored, "v", platform::REG_SZ, std::string("1\0", 2), root.storedRoot);
  exportKey(root.exported, root.root);
  EXPECT_EQ(fileText(), "REGEDIT4\r\n\r\n" + root.keyLine + "\r\n\"v\"=\"1\"\r\n\r\n\r\n");
}

INSTANTIATE_TEST_SUITE_P(
    Roots, RootTest,
    ::testing::Values(RootCase{"LocalMachine", HKEY_LOCAL_MACHINE, "Software\\R", "Software\\R",
                               HKEY_LOCAL_MACHINE, "[HKEY_LOCAL_MACHINE\\Software\\R]"},
                      RootCase{"ClassesRoot", platform::HKEY_CLASSES_ROOT, ".trv",
                               "Software\\Classes\\.trv", HKEY_LOCAL_MACHINE,
                               "[HKEY_CLASSES_ROOT\\.trv]"},
                      RootCase{"Users", platform::HKEY_USERS, "S-1-5-21-0-0-0-1000\\Software\\R",
                               "Software\\R", HKEY_CURRENT_USER,
                               "[HKEY_USERS\\S-1-5-21-0-0-0-1000\\Software\\R]"},
                      RootCase{"CurrentConfig", platform::HKEY_CURRENT_CONFIG, "Software\\R",
                               "System\\CurrentControlSet\\Hardware Profiles\\Current\\Software\\R",
                               HKEY_LOCAL_MACHINE, "[HKEY_CURRENT_CONFIG\\Software\\R]"}),
    [](const ::testing::TestParamInfo<RootCase>& info) { return info.param.label; });

TEST_F(RegExportTest, AnEmptyKeyPathExportsTheWholeRoot) {
  set("Software\\R", "v", platform::REG_SZ, std::string("1\0", 2));
  const ExportReport report = exportKey(" ");
  EXPECT_EQ(report.key, "HKEY_CURRENT_USER");
  const std::string text = fileText();
  EXPECT_EQ(text.rfind("REGEDIT4\r\n\r\n[HKEY_CURRENT_USER]\r\n", 0), 0u);
  EXPECT_NE(text.find("\r\n[HKEY_CURRENT_USER\\Software\\R]\r\n\"v\"=\"1\"\r\n"),
            std::string::npos);
}

TEST_F(RegExportTest, AnUnknownRootExportsNothing) {
  const ExportReport report = exportKey("Software", 0x1234);
  EXPECT_TRUE(report.rootUnknown);
  EXPECT_FALSE(m_test.files().fileExists(kFile));
}

// The machine's registry editor reads REGEDIT4 files as Wine's does: every value arrives.
TEST_F(RegExportTest, AnExportImportsBackWithEveryTypeAndByte) {
  testing::storeExportCases(registry());
  const ExportReport report = exportKey(testing::kExportCasesKey);
  EXPECT_TRUE(report.complete()) << DescribeExport(report).back();
  EXPECT_EQ(report.valuesWritten, testing::exportCases().size());

  testing::TestProgram target;
  target.writeFile("C:\\export.reg", fileText());
  const auto imported_ = target.machine().processes().start(
      "regedit /s \"C:\\export.reg\"", platform::WindowStyle::Hidden, platform::Wait::Yes);
  ASSERT_TRUE(imported_.ok());
  EXPECT_EQ(imported_->exitCode, 0u);
  const testing::ValueDump imported =
      testing::dumpValues(target.machine().registry(), HKEY_CURRENT_USER, testing::kExportCasesKey);
  const testing::ValueDump expected = testing::expectedImport();
  EXPECT_EQ(imported, expected) << "imported:\n"
                                << testing::describe(imported) << "expected:\n"
                                << testing::describe(expected);
}

}  // namespace
}  // namespace migration
