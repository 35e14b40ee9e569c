// The headless and scripted user interfaces, with a small form that can refuse to close.
#include <gtest/gtest.h>

#include <sstream>

#include "forms/command_button.h"
#include "forms/form.h"
#include "forms/headless_ui.h"
#include "forms/scripted_ui.h"

namespace forms {
namespace {

class TestForm final : public Form {
 public:
  TestForm(Ui& ui, bool refuseFrameClose = false)
      : Form(ui, "frmTest", "Test Window"), cmdOK("cmdOK", "OK"), m_refuse(refuseFrameClose) {
    add(cmdOK);
    cmdOK.onClick = [this] { unload(); };
  }
  CommandButton cmdOK;
  int unloads = 0;

 protected:
  bool Form_QueryUnload(UnloadMode mode) override {
    return !(m_refuse && mode == UnloadMode::WindowFrame);
  }
  void Form_Unload() override { ++unloads; }

 private:
  bool m_refuse;
};

TEST(ScriptedUiTest, AnswersInOrderThenDefaults) {
  ScriptedUi ui;
  ui.queueAnswer(MsgAnswer::No);
  EXPECT_EQ(ui.messageBox({"Save?", MsgButtons::YesNoCancel, MsgIcon::None, "Changes"}),
            MsgAnswer::No);
  EXPECT_EQ(ui.messageBox({"Save?", MsgButtons::YesNoCancel, MsgIcon::None, "Changes"}),
            MsgAnswer::Yes);
  ASSERT_EQ(ui.messages().size(), 2u);
  EXPECT_EQ(ui.messages()[1].box.title, "Changes");
  EXPECT_EQ(ui.messages()[1].answer, MsgAnswer::Yes);
}

TEST(ScriptedUiTest, AnAnswerTheBoxDoesNotOfferStopsTheScript) {
  ScriptedUi ui;
  ui.queueAnswer(MsgAnswer::Yes);
  EXPECT_THROW(ui.messageBox({"Done.", MsgButtons::OK, MsgIcon::Information, "Copy"}), ScriptError);
  ui.queueAnswer(MsgAnswer::Ignore);
  EXPECT_EQ(ui.messageBox({"Drive?", MsgButtons::AbortRetryIgnore, MsgIcon::None, "Disk"}),
            MsgAnswer::Ignore);
  ui.queueAnswer(MsgAnswer::No);
  EXPECT_THROW(ui.messageBox({"Again?", MsgButtons::RetryCancel, MsgIcon::None, "Disk"}),
               ScriptError);
}

TEST(ScriptedUiTest, ModalDialogsTakeTheQueuedActions) {
  ScriptedUi ui;
  TestForm form(ui);
  bool ranInside = false;
  ui.queueAction("look", [&] { ranInside = ui.activeModal() == &form; });
  ui.queueAction("ok", [&] { form.cmdOK.click(); });
  ui.queueAction("after", [] {});
  form.show(ShowMode::Modal);
  EXPECT_TRUE(ranInside);
  EXPECT_FALSE(form.loaded());
  EXPECT_EQ(ui.activeModal(), nullptr);
  EXPECT_EQ(ui.pendingActions(), 1u);
}

TEST(ScriptedUiTest, AModalDialogWithoutActionsFailsInsteadOfHanging) {
  ScriptedUi ui;
  TestForm form(ui);
  try {
    form.show(ShowMode::Modal);
    FAIL() << "no error";
  } catch (const ScriptError& error) {
    EXPECT_NE(std::string(error.what()).find("frmTest"), std::string::npos);
  }
}

TEST(ScriptedUiTest, ActionsAtPendingEventPoints) {
  ScriptedUi ui;
  std::vector<std::uint64_t> seen;
  ui.atDoEvents(3, "third", [&] { seen.push_back(ui.doEventsCount()); });
  ui.atDoEvents(5, "never", [] {});
  for (int i = 0; i < 4; ++i) ui.doEvents();
  EXPECT_EQ(seen, std::vector<std::uint64_t>{3});
  EXPECT_EQ(ui.unreachedEventActions(), std::vector<std::string>{"never"});
}

TEST(HeadlessUiTest, MessagesGoToTheLogWithTheirDefaultAnswer) {
  std::ostringstream log;
  HeadlessUi ui(log);
  EXPECT_EQ(
      ui.messageBox({"Line one\r\nLine two", MsgButtons::YesNo, MsgIcon::Exclamation, "Title"}),
      MsgAnswer::Yes);
  EXPECT_EQ(log.str(),
            "[message] Title (exclamation, Yes No):\n  Line one\n  Line two\n  -> Yes (no "
            "display)\n");
}

TEST(HeadlessUiTest, ModalWindowsCloseAsByTheirFrame) {
  std::ostringstream log;
  HeadlessUi ui(log);
  TestForm closing(ui);
  closing.show(ShowMode::Modal);
  EXPECT_FALSE(closing.loaded());
  EXPECT_EQ(closing.unloads, 1);

  TestForm refusing(ui, true);
  refusing.show(ShowMode::Modal);  // returns: the window is hidden when it refuses to close
  EXPECT_TRUE(refusing.loaded());
  EXPECT_FALSE(refusing.visible());
  EXPECT_NE(log.str().find("frmTest"), std::string::npos);
}

TEST(HeadlessUiTest, RunClosesWhatIsStillShown) {
  std::ostringstream log;
  HeadlessUi ui(log);
  TestForm form(ui);
  form.show();
  ui.run();
  EXPECT_FALSE(form.loaded());
  EXPECT_EQ(form.unloads, 1);
}

TEST(QuotedTest, ControlCharactersByName) {
  EXPECT_EQ(quoted("C:\\Data"), "\"C:\\Data\"");
  EXPECT_EQ(quoted("a\"b"), "\"a\"\"b\"");
  EXPECT_EQ(quoted(std::string("1\r\n2\t\0\x1b", 7)), "\"1<CR><LF>2<TAB><NUL><x1B>\"");
  EXPECT_EQ(quoted("<CR> and <b>"), "\"<x3C>CR> and <b>\"");
}

}  // namespace
}  // namespace forms
