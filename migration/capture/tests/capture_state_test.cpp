#include "capture/capture_state.h"

#include <gtest/gtest.h>

#include "frame/frm_main.h"
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

}  // namespace
}  // namespace migration
