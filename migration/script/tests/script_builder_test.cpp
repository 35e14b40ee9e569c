// The custom script builder's window: its words, what it offers when it opens, its own search,
// and its "Clear All".
#include <gtest/gtest.h>

#include "frame/frm_main.h"
#include "script/frm_reg_enum.h"
#include "testing/test_program.h"

namespace migration {
namespace {

class ScriptBuilderTest : public ::testing::Test {
 protected:
  void SetUp() override { builder().show(forms::ShowMode::Modeless); }
  frmRegEnum& builder() { return m_test.program().sharedForm<frmRegEnum>(); }

  testing::TestProgram m_test;
};

TEST_F(ScriptBuilderTest, OffersTheSevenRootsWithTheCurrentUserChosen) {
  const std::vector<std::string> roots = {
      "HKEY_CLASSES_ROOT",     "HKEY_CURRENT_USER",   "HKEY_LOCAL_MACHINE", "HKEY_USERS",
      "HKEY_PERFORMANCE_DATA", "HKEY_CURRENT_CONFIG", "HKEY_DYN_DATA"};
  std::vector<std::string> offered;
  for (std::size_t i = 0; i < builder().Combo1.count(); ++i)
    offered.push_back(builder().Combo1.item(i));
  EXPECT_EQ(offered, roots);
  EXPECT_EQ(builder().Combo1.listIndex(), 1);

  // Opened again after another root was chosen, it starts from the current user once more.
  builder().Combo1.setListIndex(2);
  builder().cmdClose.click();
  builder().show(forms::ShowMode::Modeless);
  EXPECT_EQ(builder().Combo1.count(), roots.size());
  EXPECT_EQ(builder().Combo1.text(), "HKEY_CURRENT_USER");
}

TEST_F(ScriptBuilderTest, Texts) {
  EXPECT_EQ(builder().caption(), "Create Custom Migration Script");
  EXPECT_EQ(builder().lblIntro.caption(),
            "To create custom scripts to be used with the Migration Tool follow the instructions "
            "below. You have the ability to add registry keys and files to the migration script.");
  const std::vector<std::string> captions = {
      builder().lblMainKey.caption(),  builder().lblSubKey.caption(),
      builder().lblFileMask.caption(), builder().fraDetails.caption(),
      builder().Command2.caption(),    builder().Command3.caption(),
      builder().Command4.caption(),    builder().cmdScript.caption(),
      builder().cmdClear.caption(),    builder().cmdClose.caption()};
  EXPECT_EQ(captions, (std::vector<std::string>{
                          "Main key", "Subkey (case sensitive): (i.e. SOFTWARE/Microsoft/Office)",
                          "Files to include (wildcards are supported)",
                          "Registry Keys and Files to be added to script:", "Add Registry Key",
                          "Search", "Add Files", "Create Script", "Clear All", "Close"}));
  EXPECT_EQ(builder().lvFiles.columnHeaders(),
            (std::vector<std::string>{"File Path", "Filename", "Size (kb)", "Modified"}));
}

// The builder's search enters every directory, excluded or not, and leaves the main window's
// status line alone.
TEST_F(ScriptBuilderTest, SearchIgnoresTheExcludeListAndTheStatusLine) {
  m_test.program().config.arrExcludeList = {""};  // would keep the main scan out of everything
  platform::ignoreFailure(m_test.files().createFolder("C:\\Config"), "a folder of the test machine");
  m_test.writeFile("C:\\Config\\app.ini", "a");
  m_test.writeFile("C:\\root.INI", "r");
  frmMain& main = m_test.program().sharedForm<frmMain>();
  const std::string status = main.sbMain.panelText(1);

  builder().Scan_Drive("C:\\", "*.ini");
  ASSERT_EQ(builder().lvFiles.count(), 2u);
  EXPECT_EQ(builder().lvFiles.row(0).text, "C:\\");
  EXPECT_EQ(builder().lvFiles.row(0).subItems[0], "root.INI");
  EXPECT_EQ(builder().lvFiles.row(1).text, "C:\\Config");
  EXPECT_EQ(main.sbMain.panelText(1), status);
  EXPECT_EQ(main.lvFiles.count(), 0u);

  // A second search replaces the rows of the first.
  builder().Scan_Drive("C:\\Config", "*.ini");
  EXPECT_EQ(builder().lvFiles.count(), 1u);
}

TEST_F(ScriptBuilderTest, ClearAllEmptiesTheListsAndGoesBackToTheSubkey) {
  builder().txtSubKey.setText("Software\\Example");
  builder().Command2.click();
  builder().txtFileMask.setText("*.ini");
  m_test.writeFile("C:\\x.ini", "x");
  builder().Scan_Drive("C:\\", "*.ini");
  ASSERT_EQ(builder().lvFiles.count(), 1u);
  builder().setFocus(builder().txtFileMask);

  builder().cmdClear.click();
  EXPECT_EQ(builder().lstDetails.count(), 0u);
  EXPECT_EQ(builder().lvFiles.count(), 0u);
  EXPECT_EQ(builder().txtFileMask.text(), "");
  EXPECT_EQ(builder().txtSubKey.text(), "Software\\Example");
  EXPECT_EQ(builder().focused(), &builder().txtSubKey);
}

}  // namespace
}  // namespace migration
