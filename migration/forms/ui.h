// Everything a user answers or sees happen outside the forms' own state: message boxes, modal and
// modeless windows, letting pending events run, the mouse pointer. Three implementations: the Qt
// one (migration/gui), a headless one for unattended runs without a display, and a scripted one
// for tests.
#pragma once

#include <string>

namespace forms {

class Form;

enum class MsgButtons { OK, OKCancel, AbortRetryIgnore, YesNoCancel, YesNo, RetryCancel };
enum class MsgIcon { None, Critical, Question, Exclamation, Information };
enum class MsgAnswer { OK = 1, Cancel = 2, Abort = 3, Retry = 4, Ignore = 5, Yes = 6, No = 7 };
enum class MousePointer { Default, Hourglass };

struct MessageBox {
  std::string prompt;
  MsgButtons buttons = MsgButtons::OK;
  MsgIcon icon = MsgIcon::None;
  std::string title;
};

class Ui {
 public:
  virtual ~Ui() = default;

  // Shows a modal message box and returns the button the user pressed.
  virtual MsgAnswer messageBox(const MessageBox& box) = 0;
  // Shows a loaded form modally: returns once the form is hidden or unloaded.
  virtual void showModal(Form& form) = 0;
  virtual void showModeless(Form& form) = 0;
  // The form was hidden or unloaded: its window goes away.
  virtual void formHidden(Form& form) = 0;
  // Lets pending user events run (clicks, repaints) in the middle of a long operation.
  virtual void doEvents() = 0;
  virtual void setMousePointer(MousePointer pointer) = 0;
  // Runs until no form is shown any more.
  virtual void run() = 0;
};

// The default answer of a message box: its first button.
MsgAnswer defaultAnswer(MsgButtons buttons);
// True when a box with `buttons` offers `answer`.
bool offersAnswer(MsgButtons buttons, MsgAnswer answer);
std::string iconName(MsgIcon icon);
std::string buttonsName(MsgButtons buttons);
std::string answerName(MsgAnswer answer);

}  // namespace forms
