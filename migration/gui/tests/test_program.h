// A running program on a small machine of its own, with the Qt Ui: drive C with a few folders
// and files, and the program in C:\Tools next to its CONFIG.MIG.
#pragma once

#include <QWidget>

#include "context/program.h"
#include "gui/qt_ui.h"
#include "platform/testing/test_machine.h"

namespace gui::testing {

class TestProgram {
 public:
  TestProgram();
  // Takes the windows away before the forms go.
  ~TestProgram();

  // Runs start-up: the main window opens, filled from CONFIG.MIG.
  void start();
  // The widget bound to `control` in the window of `form`, or null.
  QWidget* widget(const forms::Form& form, const forms::Control& control) const;
  template <typename T>
  T* widgetAs(const forms::Form& form, const forms::Control& control) const {
    return qobject_cast<T*>(widget(form, control));
  }

  platform::testing::TestMachine test;
  platform::Machine& machine;
  QtUi ui;
  migration::Program program;
};

}  // namespace gui::testing
