// The Qt Ui: message boxes answer with the button pressed, modal windows hold their caller until
// their form closes, the window frame asks the form, and run() ends with the last window.
#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <functional>

#include "frame/frm_main.h"
#include "frame/frm_status_message.h"
#include "scan/frm_browse.h"
#include "scan/frm_exclude.h"
#include "scan/frm_message.h"
#include "scan/frm_new_dir.h"
#include "test_program.h"

namespace gui {
namespace {

using testing::TestProgram;

// Runs `step` once the event loop of a modal window or message box is turning.
void whenModal(std::function<void()> step) { QTimer::singleShot(0, std::move(step)); }

struct MessageCase {
  forms::MsgButtons buttons;
  forms::MsgIcon icon;
  QMessageBox::StandardButton press;
  forms::MsgAnswer expected;
  QMessageBox::Icon shownIcon;
};

void PrintTo(const MessageCase& message, std::ostream* out) {
  *out << forms::buttonsName(message.buttons) << " -> " << forms::answerName(message.expected);
}

class MessageBoxTest : public ::testing::TestWithParam<MessageCase> {};

TEST_P(MessageBoxTest, ShowsTitleTextIconButtonsAndReturnsThePressedOne) {
  const MessageCase& param = GetParam();
  QtUi ui;
  QString title, text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  whenModal([&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    title = box->windowTitle();
    text = box->text();
    icon = box->icon();
    QTest::mouseClick(box->button(param.press), Qt::LeftButton);
  });
  const forms::MsgAnswer answer = ui.messageBox(
      {"Please select at least one type of file\r\nand do the scan again.", param.buttons,
       param.icon, "No File Types Selected"});
  EXPECT_EQ(answer, param.expected);
  EXPECT_EQ(title, "No File Types Selected");
  EXPECT_EQ(text, "Please select at least one type of file\r\nand do the scan again.");
  EXPECT_EQ(icon, param.shownIcon);
}

INSTANTIATE_TEST_SUITE_P(
    Buttons, MessageBoxTest,
    ::testing::Values(
        MessageCase{forms::MsgButtons::OK, forms::MsgIcon::Exclamation, QMessageBox::Ok,
                    forms::MsgAnswer::OK, QMessageBox::Warning},
        MessageCase{forms::MsgButtons::YesNoCancel, forms::MsgIcon::None, QMessageBox::No,
                    forms::MsgAnswer::No, QMessageBox::NoIcon},
        MessageCase{forms::MsgButtons::YesNoCancel, forms::MsgIcon::Question,
                    QMessageBox::Cancel, forms::MsgAnswer::Cancel, QMessageBox::Question},
        MessageCase{forms::MsgButtons::RetryCancel, forms::MsgIcon::Critical, QMessageBox::Retry,
                    forms::MsgAnswer::Retry, QMessageBox::Critical}));

TEST(QtUiTest, MessageBoxClosedWithEscapeAnswersCancelWhereThereIsOne) {
  QtUi ui;
  whenModal([] { QTest::keyClick(QApplication::activeModalWidget(), Qt::Key_Escape); });
  EXPECT_EQ(ui.messageBox({"Do you want to save your changes now?",
                           forms::MsgButtons::YesNoCancel, forms::MsgIcon::None,
                           "Changes Not Saved"}),
            forms::MsgAnswer::Cancel);
}

TEST(QtUiTest, ModalBrowseDialogReturnsTheFolderOpenedWhenOkIsClicked) {
  TestProgram test;
  test.start();
  migration::frmBrowse browse(test.program);
  whenModal([&] {
    auto* tree = test.widgetAs<QTreeWidget>(browse, browse.Dir1);
    ASSERT_NE(tree, nullptr);
    ASSERT_TRUE(test.ui.viewOf(browse)->isModal());
    ASSERT_EQ(browse.Dir1.setPath("C:\\"), platform::ERROR_SUCCESS);
    // Open C:\Data from the list, as a double click would.
    QTreeWidgetItem* root = tree->topLevelItem(0);
    for (int i = 0; i < root->childCount(); ++i) {
      if (root->child(i)->text(0) == "Data") Q_EMIT tree->itemActivated(root->child(i), 0);
    }
    QTest::mouseClick(test.widgetAs<QPushButton>(browse, browse.cmdOK), Qt::LeftButton);
  });
  EXPECT_EQ(browse.Get_Dir(0), "C:\\Data");
  EXPECT_EQ(test.ui.viewOf(browse), nullptr);
}

TEST(QtUiTest, ClosingTheWindowFrameUnloadsTheFormAsItsFrameWould) {
  TestProgram test;
  test.start();
  migration::frmBrowse browse(test.program);
  whenModal([&] {
    browse.Dir1_Change();  // something chosen, then the frame closes
    test.ui.viewOf(browse)->close();
  });
  EXPECT_EQ(browse.Get_Dir(0), "");
  EXPECT_FALSE(browse.loaded());
}

// Answers the message box that the next step opens.
void answerNextMessage(QMessageBox::StandardButton button, QString* title = nullptr) {
  whenModal([button, title] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    if (title != nullptr) *title = box->windowTitle();
    box->button(button)->click();
  });
}

TEST(QtUiTest, FrameCloseThatTheFormRefusesKeepsTheWindowOpen) {
  TestProgram test;
  test.start();
  migration::frmExclude exclude(test.program);
  QString asked;
  whenModal([&] {
    QTest::mouseClick(test.widgetAs<QPushButton>(exclude, exclude.cmdRemove), Qt::LeftButton);
    answerNextMessage(QMessageBox::Cancel, &asked);
    test.ui.viewOf(exclude)->close();
    EXPECT_TRUE(exclude.loaded());
    ASSERT_NE(test.ui.viewOf(exclude), nullptr);
    EXPECT_TRUE(test.ui.viewOf(exclude)->isVisible());
    answerNextMessage(QMessageBox::No);
    test.ui.viewOf(exclude)->close();
  });
  exclude.show(forms::ShowMode::Modal);
  EXPECT_EQ(asked, "Changes Not Saved");
  EXPECT_FALSE(exclude.loaded());
  EXPECT_EQ(test.ui.viewOf(exclude), nullptr);
}

TEST(QtUiTest, NestedModalDialogsReturnInOrderAndMessagesGoAboveThem) {
  TestProgram test;
  test.start();
  migration::frmNewDir newDir(test.program);
  QString messageTitle;
  whenModal([&] {
    // OK with no name: the dialog warns and stays open.
    answerNextMessage(QMessageBox::Ok, &messageTitle);
    QTest::mouseClick(test.widgetAs<QPushButton>(newDir, newDir.cmdOk), Qt::LeftButton);
    ASSERT_TRUE(newDir.visible());
    // The program puts the focus where it wants the name typed.
    newDir.setFocus(newDir.txtDir);
    EXPECT_EQ(test.ui.viewOf(newDir)->focusWidget(), test.widget(newDir, newDir.txtDir));
    QTest::keyClicks(test.widgetAs<QLineEdit>(newDir, newDir.txtDir), "Backup");
    QTest::mouseClick(test.widgetAs<QPushButton>(newDir, newDir.cmdOk), Qt::LeftButton);
  });
  newDir.New_Dir("C:\\");
  EXPECT_EQ(messageTitle, "No Directory");
  EXPECT_TRUE(test.machine.files().folderExists("C:\\Backup"));
}

TEST(QtUiTest, TopmostFormsStayOnTopAndCaptionChangesShow) {
  TestProgram test;
  migration::frmStatusMessage& status = test.program.sharedForm<migration::frmStatusMessage>();
  status.show();
  FormView* view = test.ui.viewOf(status);
  ASSERT_NE(view, nullptr);
  EXPECT_TRUE(view->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_TRUE(view->isVisible());
  status.Timer1_Timer();
  EXPECT_EQ(view->windowTitle(), "Please Wait.");
  status.setTopmost(false);
  EXPECT_FALSE(view->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_TRUE(view->isVisible());
}

TEST(QtUiTest, RunEndsWhenTheLastWindowCloses) {
  TestProgram test;
  migration::frmMessage& message = test.program.sharedForm<migration::frmMessage>();
  message.Cancel_Message("Scanning C:\\ ...");
  ASSERT_NE(test.ui.viewOf(message), nullptr);
  QTimer::singleShot(0, [&] {
    QTest::mouseClick(test.widgetAs<QPushButton>(message, message.cmdCancel), Qt::LeftButton);
    EXPECT_TRUE(test.program.session.bCancel);
    message.Close_Message();
  });
  test.ui.run();
  EXPECT_EQ(test.ui.viewOf(message), nullptr);
  EXPECT_FALSE(test.program.session.bCancel);
}

}  // namespace
}  // namespace gui
