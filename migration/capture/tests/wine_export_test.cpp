// Cross-check of the REGEDIT4 export with Wine's registry editor: keys holding every kind of
// value are exported from a machine of ours, imported by `regedit /s` into a fresh Wine prefix,
// and read back from the prefix's registry files: every value must arrive with its type and
// bytes, the Office 8.0 settings moved as the export moves them. One prefix serves the whole
// program; skipped when Wine is not installed.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "capture/reg_export.h"
#include "export_cases.h"
#include "platform/text_file.h"
#include "testing/test_program.h"
#include "platform/testing/wine_prefix.h"

namespace migration {
namespace {

using platform::HKEY;
using platform::testing::WinePrefix;

class WineExportTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { s_wine = new WinePrefix(); }
  static void TearDownTestSuite() {
    delete s_wine;
    s_wine = nullptr;
  }
  void SetUp() override {
    if (!s_wine->installed()) GTEST_SKIP() << "Wine is not installed: no wine or wine64 program";
    ASSERT_TRUE(s_wine->ready()) << "wineboot made no prefix:\n" << s_wine->bootOutput();
    m_source.setRegistryText(platform::HKEY_LOCAL_MACHINE,
                             "System\\CurrentControlSet\\Control\\Session Manager\\Environment",
                             "OS", "Windows_NT");
  }

  // Exports root\key from our machine and imports the file with Wine's registry editor.
  void exportAndImport(HKEY root, const std::string& key, const std::string& name) {
    ExportContext context{m_source.machine().registry(), m_source.files(),
                          m_source.machine().environment(), [] {}, [] { return "256000"; }};
    const std::string file = "C:\\" + name;
    const ExportReport report = ExportRegistryKey(context, root, key, file);
    ASSERT_TRUE(report.complete()) << DescribeExport(report).back();
    const auto bytes = platform::readWholeFile(m_source.files(), file);
    ASSERT_TRUE(bytes.ok());
    const auto hostFile = s_wine->scratch() / name;
    std::ofstream(hostFile, std::ios::binary) << *bytes;
    s_wine->wine({"regedit", "/s", hostFile.string()});
    s_wine->stopServer();
  }

  static WinePrefix* s_wine;
  testing::TestProgram m_source;
};

WinePrefix* WineExportTest::s_wine = nullptr;

TEST_F(WineExportTest, EveryValueArrivesWithItsTypeAndBytes) {
  testing::storeExportCases(m_source.machine().registry());
  exportAndImport(platform::HKEY_CURRENT_USER, testing::kExportCasesKey, "every_value.mig");

  const auto wineRegistry = s_wine->registry();
  platform::Registry& wine = *wineRegistry;
  const testing::ValueDump imported =
      testing::dumpValues(wine, platform::HKEY_CURRENT_USER, testing::kExportCasesKey);
  const testing::ValueDump expected = testing::expectedImport();
  EXPECT_EQ(imported, expected) << "imported:\n"
                                << testing::describe(imported) << "expected:\n"
                                << testing::describe(expected);
}

// The roots other than the current user's arrive under their own names.
TEST_F(WineExportTest, MachineAndClassesRootsArriveUnderTheirOwnNames) {
  m_source.setRegistryText(platform::HKEY_LOCAL_MACHINE, "Software\\TransvaleMachine", "Dir",
                           "C:\\Program Files\\Microsoft Office\\Office\\x");
  m_source.setRegistryText(platform::HKEY_LOCAL_MACHINE, "Software\\Classes\\.transvale", "",
                           "transvale \"file\"");
  exportAndImport(platform::HKEY_LOCAL_MACHINE, "Software\\TransvaleMachine", "machine.mig");
  exportAndImport(platform::HKEY_CLASSES_ROOT, ".transvale", "classes.mig");

  const auto wineRegistry = s_wine->registry();
  platform::Registry& wine = *wineRegistry;
  const testing::ValueDump machine =
      testing::dumpValues(wine, platform::HKEY_LOCAL_MACHINE, "Software\\TransvaleMachine");
  const testing::ValueDump classes =
      testing::dumpValues(wine, platform::HKEY_LOCAL_MACHINE, "Software\\Classes\\.transvale");
  EXPECT_EQ(machine,
            (testing::ValueDump{
                {std::string("\0Dir", 4),
                 {platform::REG_SZ,
                  std::string("C:\\Program Files\\Microsoft Office\\Office10\\x") + '\0'}}}))
      << testing::describe(machine);
  EXPECT_EQ(classes,
            (testing::ValueDump{{std::string(1, '\0'),
                                 {platform::REG_SZ, std::string("transvale \"file\"\0", 17)}}}))
      << testing::describe(classes);
}

}  // namespace
}  // namespace migration
