#include "capture/capture_state.h"

#include <gtest/gtest.h>

#include "context/script_file.h"
#include "frame/frm_main.h"
#include "platform/text_encoding.h"
#include "testing/test_program.h"

namespace migration {
namespace {

constexpr const char* kMigration = "C:\\migrate\\jsmith\\Migration";

class CaptureStateTest : public ::testing::Test {
 protected:
  CaptureStateTest() {
    m_test.writeFile("C:\\migrate\\jsmith\\.keep", "");
    for (int i = 0; i < 3; ++i) {
      m_test.setRegistryText(platform::HKEY_CURRENT_USER,
                             "Software\\Microsoft\\Office\\8.0\\Key" + std::to_string(i), "Value",
                             std::string(40, 'x'));
    }
    m_test.program().session.strUserName = "jsmith";
    form().txtMigrateDir.setText("C:\\migrate\\jsmith");
  }
  frmMain& form() { return m_test.program().sharedForm<frmMain>(); }
  std::string master() { return m_test.testMachine().readFile(std::string(kMigration) + "\\Master.mig"); }
  bool exists(const std::string& file) {
    return m_test.files().fileExists(std::string(kMigration) + "\\Drivers\\" + file);
  }

  testing::TestProgram m_test;
};

// The cancel is looked at between items only: the item that runs finishes, the next does not
// start, and neither the Favorites nor the script keys are taken.
TEST_F(CaptureStateTest, ACancelStopsBeforeTheNextItemWithTheBlocksWrittenSoFar) {
  ASSERT_TRUE(form().lstMigration.setSelected(2, true));
  ASSERT_TRUE(form().lstMigration.setSelected(9, true));
  m_test.ui().atDoEvents(1, "Cancel", [this] { m_test.program().session.bCancel = true; });
  CaptureState(m_test.program(), "C:\\migrate\\jsmith", false);
  EXPECT_EQ(master(),
            "[Username]\r\njsmith\r\n\r\n[Office Settings]\r\n"
            "C:\\migrate\\jsmith\\Migration\\Drivers\\Office_HKCU.mig\r\n"
            "C:\\migrate\\jsmith\\Migration\\Drivers\\Office_HKLM.mig\r\n\r\n");
  EXPECT_TRUE(exists("Office_HKCU.mig"));
  EXPECT_FALSE(exists("Adobe_HKCU.mig"));
  EXPECT_FALSE(exists("script1.mig"));
  EXPECT_EQ(m_test.program().runLog().warnings(), 1u);
}

// A cut export is no longer silent: the log names the key where it was cut, as a warning.
TEST_F(CaptureStateTest, AnExportCutByTheSizeLimitIsAWarning) {
  ASSERT_TRUE(form().lstMigration.setSelected(2, true));
  form().txtLimitLength.setText("120");
  RunLog& log = m_test.program().runLog();
  log.begin("Export");
  CaptureState(m_test.program(), "C:\\migrate\\jsmith", false);
  ASSERT_EQ(log.warnings(), 1u);
  EXPECT_NE(log.summary()[1].find("export of HKEY_CURRENT_USER\\Software\\Microsoft\\Office: "
                                  "cut by the size limit of 120 characters at "
                                  "HKEY_CURRENT_USER\\Software\\Microsoft\\Office\\8.0\\Key1"),
            std::string::npos)
      << log.summary()[1];
  const std::string exported = m_test.testMachine().readFile(std::string(kMigration) +
                                                             "\\Drivers\\Office_HKCU.mig");
  EXPECT_NE(exported.find("10.0\\Key0]"), std::string::npos);
  EXPECT_EQ(exported.find("10.0\\Key1]"), std::string::npos);
}

// A capture whose writes fail (the disk fills) leaves every file it rewrites as the last
// capture left it, and no half-written copy beside it.
struct RewrittenFile {
  const char* name;
  const char* folder;  // whose writes fail
  const char* file;
};

void PrintTo(const RewrittenFile& file, std::ostream* out) { *out << file.name; }

class CaptureRewriteTest : public CaptureStateTest,
                           public ::testing::WithParamInterface<RewrittenFile> {};

TEST_P(CaptureRewriteTest, AFailedWriteLeavesTheFileOfTheLastCapture) {
  m_test.program().session.strAppPath = "C:\\Transvale";
  ASSERT_TRUE(form().lstMigration.setSelected(2, true));
  CaptureState(m_test.program(), "C:\\migrate\\jsmith", false);
  const std::string path = GetParam().file;
  // The script builder added a key since; the registry changed.
  m_test.writeFile("C:\\Transvale\\script.mig", "HKEY_CURRENT_USER\\Software\\Added\r\n");
  m_test.setRegistryText(platform::HKEY_CURRENT_USER, "Software\\Microsoft\\Office\\8.0\\Key0",
                         "Value", "changed");
  const std::string before = m_test.testMachine().readFile(path);
  ASSERT_FALSE(before.empty());
  const auto entriesBefore = m_test.files().listFolder(GetParam().folder);

  const std::string folder = std::string(GetParam().folder) + "\\";
  m_test.faults().countWritesTo([folder](const std::string& opened) {
    return opened.size() > folder.size() &&
           platform::ansiEqualNoCase(opened.substr(0, folder.size()), folder);
  });
  m_test.faults().failWriteNumber(1);
  CaptureState(m_test.program(), "C:\\migrate\\jsmith", false);

  EXPECT_GT(m_test.faults().writes(), 0u);
  EXPECT_EQ(m_test.testMachine().readFile(path), before);
  EXPECT_EQ(m_test.files().listFolder(GetParam().folder).valueOr({}).size(),
            entriesBefore.valueOr({}).size());
  // The log says what was not written.
  const RunLog& log = m_test.program().runLog();
  EXPECT_GT(log.warnings() + log.failures(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Files, CaptureRewriteTest,
    ::testing::Values(
        RewrittenFile{"RegistryExport", "C:\\migrate\\jsmith\\Migration\\Drivers",
                      "C:\\migrate\\jsmith\\Migration\\Drivers\\Office_HKCU.mig"},
        RewrittenFile{"CaptureScript", "C:\\Transvale", "C:\\Transvale\\script.mig"}),
    [](const ::testing::TestParamInfo<RewrittenFile>& info) { return info.param.name; });

}  // namespace
}  // namespace migration
