#include "frame/frm_main.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "frame/frm_restore_log.h"
#include "frame/frm_status_message.h"
#include "testing/test_program.h"

namespace migration {
namespace {

struct CreatpathCase {
  const char* path;
  int level;
  std::vector<std::string> existing;
  std::vector<std::string> afterwards;  // folders that exist then
  std::vector<std::string> absent;      // folders that still do not
};
void PrintTo(const CreatpathCase& c, std::ostream* out) { *out << c.path << " " << c.level; }

class CreatpathTest : public ::testing::TestWithParam<CreatpathCase> {};

TEST_P(CreatpathTest, CreatesTheMissingLevels) {
  const CreatpathCase& c = GetParam();
  testing::TestProgram test;
  for (const std::string& folder : c.existing) {
    ASSERT_EQ(test.files().createFolder(folder), platform::ERROR_SUCCESS) << folder;
  }
  test.program().sharedForm<frmMain>().creatpath(c.path, c.level);
  for (const std::string& folder : c.afterwards) {
    EXPECT_TRUE(test.files().folderExists(folder)) << folder;
  }
  for (const std::string& folder : c.absent) {
    EXPECT_FALSE(test.files().folderExists(folder)) << folder;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Levels, CreatpathTest,
    ::testing::Values(CreatpathCase{"C:\\a\\b", 2, {}, {"C:\\a", "C:\\a\\b"}, {}},
                      CreatpathCase{"C:\\a\\b\\c", 2, {"C:\\a"}, {"C:\\a\\b", "C:\\a\\b\\c"}, {}},
                      // Fewer backslashes than the level: only the path itself.
                      CreatpathCase{"C:\\a", 2, {}, {"C:\\a"}, {}},
                      // Starting deeper than what exists: every level fails, silently.
                      CreatpathCase{"C:\\a\\b\\c", 3, {}, {}, {"C:\\a", "C:\\a\\b", "C:\\a\\b\\c"}},
                      CreatpathCase{"C:\\a\\b\\", 2, {}, {"C:\\a", "C:\\a\\b"}, {}},
                      CreatpathCase{
                          "C:\\Documents and Settings\\jsmith\\desktop\\windows\\desktop",
                          2,
                          {"C:\\Documents and Settings"},
                          {"C:\\Documents and Settings\\jsmith\\desktop\\windows\\desktop"},
                          {}}));

TEST(FrmMainTest, TabsBringTheirPageToTheFront) {
  testing::TestProgram test;
  frmMain& form = test.program().sharedForm<frmMain>();
  form.load();
  EXPECT_EQ(form.frontPage(), 0);
  form.tabRTF.select(2);
  EXPECT_EQ(form.frontPage(), 2);
  form.tabRTF.select(1);
  EXPECT_EQ(form.frontPage(), 1);
}

TEST(FrmMainTest, StatusPanels) {
  testing::TestProgram test;
  frmMain& form = test.program().sharedForm<frmMain>();
  form.Update_Status(1, "Scanning");
  form.Update_Status(2, "Found 3 Files");
  form.Update_Status(3, "ignored");
  EXPECT_EQ(form.sbMain.panelText(1), "Scanning");
  EXPECT_EQ(form.sbMain.panelText(2), "Found 3 Files");
}

TEST(FrmMainTest, UnloadStartsTheNetCommandThenClosesTheStatusWindow) {
  testing::TestProgram test;
  frmStatusMessage& status = test.program().sharedForm<frmStatusMessage>();
  status.show();
  ASSERT_TRUE(status.topmost());
  // Whether the net command had been started each time the status window changed.
  std::vector<bool> startedBefore;
  status.changed.connect(
      [&] { startedBefore.push_back(!test.testMachine().commandLog().empty()); });

  frmMain& form = test.program().sharedForm<frmMain>();
  form.load();
  ASSERT_TRUE(form.unload());

  EXPECT_FALSE(form.loaded());
  EXPECT_FALSE(status.topmost());
  EXPECT_FALSE(status.loaded());
  EXPECT_EQ(startedBefore, std::vector<bool>(startedBefore.size(), true));
  EXPECT_FALSE(startedBefore.empty());
  EXPECT_EQ(test.testMachine().commandLog(),
            "net localgroup \"Power Users\" \"Everyone\" /delete\n");
}

// The window shows the migration directory's log; where there is none, why, with the last run.
TEST(FrmMainTest, TheRestoreLogWindowShowsTheLogOrWhyItCannot) {
  testing::TestProgram test;
  frmMain& form = test.program().sharedForm<frmMain>();
  form.load();
  form.txtMigrateDir.setText("C:\\Mig");
  std::string shown;
  auto readAndClose = [&] {
    frmRestoreLog& viewer = test.program().sharedForm<frmRestoreLog>();
    shown = viewer.txtLog.text();
    viewer.cmdClose_Click();
  };

  form.cmdRestoreSettings_Click();  // no migration directory: nothing can be written there
  test.ui().queueAction("read the log", readAndClose);
  form.mnuMigrationRestoreLog_Click();
  EXPECT_EQ(shown.rfind("The log C:\\Mig\\migration\\migrate.log cannot be read (status 3).", 0), 0u)
      << shown;
  EXPECT_NE(shown.find("failed: the master command file"), std::string::npos) << shown;

  test.writeFile("C:\\Mig\\migration\\Master.mig", "[Username]\r\njsmith\r\n\r\n");
  form.cmdRestoreSettings_Click();
  test.ui().queueAction("read the log", readAndClose);
  form.mnuMigrationRestoreLog_Click();
  EXPECT_NE(shown.find("=== Restore started"), std::string::npos) << shown;
  EXPECT_NE(shown.find("restore report: everything arrived"), std::string::npos) << shown;
  EXPECT_EQ(form.sbMain.panelText(2), "Restore: everything arrived");
}

}  // namespace
}  // namespace migration
