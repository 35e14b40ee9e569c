// The directory and message dialogs, driven through the scripted user interface.
#include <gtest/gtest.h>

#include "frame/frm_main.h"
#include "scan/frm_browse.h"
#include "scan/frm_message.h"
#include "scan/frm_new_dir.h"
#include "testing/test_program.h"

namespace migration {
namespace {

class DialogsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_test.program().sharedForm<frmMain>();  // the dialogs report to the main window
    ASSERT_EQ(m_test.files().createFolder("C:\\Data"), platform::ERROR_SUCCESS);
    ASSERT_EQ(m_test.files().createFolder("C:\\Mig"), platform::ERROR_SUCCESS);
    m_test.writeFile("C:\\Mig\\master.mig", "[Files Backup]\r\n");
  }

  // Queues the user's actions on the dialog, then asks it for a directory in `mode`.
  std::string getDir(int mode, std::vector<std::function<void(frmBrowse&)>> actions) {
    frmBrowse browse(m_test.program());
    for (auto& action : actions) {
      m_test.ui().queueAction("dialog action", [&browse, action] { action(browse); });
    }
    return browse.Get_Dir(mode);
  }

  std::size_t messageCount() { return m_test.ui().messages().size(); }

  testing::TestProgram m_test;
};

TEST_F(DialogsTest, DirectoryModeReturnsTheOpenedDirectory) {
  EXPECT_EQ(getDir(0, {[](frmBrowse& b) { ASSERT_EQ(b.Dir1.setPath("c:\\data"), platform::ERROR_SUCCESS); },
                       [](frmBrowse& b) { b.cmdOK.click(); }}),
            "C:\\Data");
}

TEST_F(DialogsTest, NothingOpenedOrCancelledReturnsEmpty) {
  EXPECT_EQ(getDir(0, {[](frmBrowse& b) { b.cmdOK.click(); }}), "");
  EXPECT_EQ(getDir(0, {[](frmBrowse& b) { ASSERT_EQ(b.Dir1.setPath("C:\\Data"), platform::ERROR_SUCCESS); },
                       [](frmBrowse& b) { b.cmdCancel.click(); }}),
            "");
  EXPECT_EQ(getDir(0, {[](frmBrowse& b) { ASSERT_EQ(b.Dir1.setPath("C:\\Data"), platform::ERROR_SUCCESS); },
                       [](frmBrowse& b) { b.unload(forms::UnloadMode::WindowFrame); }}),
            "");
  EXPECT_EQ(messageCount(), 0u);
}

TEST_F(DialogsTest, MasterFileModeWantsAMasterFile) {
  const std::string chosen =
      getDir(1, {[](frmBrowse& b) {
                   EXPECT_FALSE(b.cmdCreate.enabled());
                   EXPECT_TRUE(b.filMig.visible());
                   ASSERT_EQ(b.Dir1.setPath("C:\\Data"), platform::ERROR_SUCCESS);
                 },
                 [](frmBrowse& b) { b.cmdOK.click(); },  // no master file here: stays open
                 [](frmBrowse& b) { ASSERT_EQ(b.Dir1.setPath("C:\\Mig"), platform::ERROR_SUCCESS); },
                 [](frmBrowse& b) { b.cmdOK.click(); }});
  EXPECT_EQ(chosen, "C:\\Mig\\master.mig");
  ASSERT_EQ(messageCount(), 1u);
  const forms::MessageBox& box = m_test.ui().messages()[0].box;
  EXPECT_EQ(box.title, "Incorrect File");
  EXPECT_EQ(box.prompt, "You MUST select a 'Master.mig' command file!");
  EXPECT_EQ(box.icon, forms::MsgIcon::Exclamation);
}

TEST_F(DialogsTest, ChoosingTheRootOfCSetsTheRestoreDirectory) {
  frmMain& main = m_test.program().sharedForm<frmMain>();
  main.txtRestoreFiles.setText("D:\\Restore");
  EXPECT_EQ(getDir(0, {[](frmBrowse& b) { ASSERT_EQ(b.Dir1.setPath("C:\\Data"), platform::ERROR_SUCCESS); },
                       [](frmBrowse& b) { ASSERT_EQ(b.Dir1.setPath("C:\\"), platform::ERROR_SUCCESS); },
                       [](frmBrowse& b) { b.cmdOK.click(); }}),
            "C:\\");
  EXPECT_EQ(main.txtRestoreFiles.text(), "C:\\");
}

TEST_F(DialogsTest, AnUnreadableDriveLeavesTheDirectoryList) {
  m_test.addDriveLink('e', "../no_such_cdrom");
  EXPECT_EQ(getDir(0, {[](frmBrowse& b) { ASSERT_EQ(b.Dir1.setPath("C:\\Data"), platform::ERROR_SUCCESS); },
                       [](frmBrowse& b) {
                         ASSERT_TRUE(b.Drive1.setDrive("e:"));
                         EXPECT_EQ(b.Dir1.path(), "C:\\Data");
                       },
                       [](frmBrowse& b) { b.cmdOK.click(); }}),
            "C:\\Data");
}

TEST_F(DialogsTest, CreateNewDirectory) {
  const std::string chosen =
      getDir(0, {[](frmBrowse& b) { b.cmdCreate.click(); },
                 [this](frmBrowse&) {
                   auto* dialog = dynamic_cast<frmNewDir*>(m_test.ui().activeModal());
                   ASSERT_NE(dialog, nullptr);
                   dialog->cmdOk.click();  // no name yet: a message, and the dialog stays
                   dialog->txtDir.setText("Backup");
                   dialog->cmdOk.click();
                 },
                 [](frmBrowse& b) {
                   ASSERT_EQ(b.Dir1.listCount(), 4u);  // Backup, Data, Mig, Transvale
                   EXPECT_EQ(b.Dir1.list(0), "C:\\Backup");
                   b.cmdCancel.click();
                 }});
  EXPECT_EQ(chosen, "");
  EXPECT_TRUE(m_test.files().folderExists("C:\\Backup"));
  ASSERT_EQ(messageCount(), 1u);
  EXPECT_EQ(m_test.ui().messages()[0].box.title, "No Directory");
  EXPECT_EQ(m_test.ui().messages()[0].box.prompt, "Please Enter a Directory Name!");
}

TEST_F(DialogsTest, NewDirectoryThatCannotBeMadeIsNotReported) {
  frmNewDir dialog(m_test.program());
  m_test.ui().queueAction("type", [&] { dialog.txtDir.setText("Data"); });
  m_test.ui().queueAction("ok", [&] { dialog.cmdOk.click(); });
  dialog.New_Dir("C:\\");
  EXPECT_FALSE(dialog.loaded());
  EXPECT_EQ(messageCount(), 0u);
}

TEST_F(DialogsTest, ProgressWindowCancel) {
  frmMessage& window = m_test.program().sharedForm<frmMessage>();
  m_test.program().session.bCancel = true;
  window.Cancel_Message("Scanning C:\\ for files...");
  EXPECT_FALSE(m_test.program().session.bCancel);
  EXPECT_TRUE(window.visible());
  EXPECT_TRUE(window.topmost());
  EXPECT_EQ(window.lblMessage.caption(), "Scanning C:\\ for files...");

  window.cmdCancel.click();
  EXPECT_TRUE(m_test.program().session.bCancel);
  EXPECT_TRUE(window.visible());

  window.Close_Message();
  EXPECT_FALSE(m_test.program().session.bCancel);
  EXPECT_FALSE(window.loaded());
}

}  // namespace
}  // namespace migration
