// The window that shows the run log of the migration directory, as the last restore left it: the
// technician reads there what arrived and what did not. A log that cannot be read shows why, with
// the summary of the last run the program made.
#pragma once

#include <string>

#include "forms/command_button.h"
#include "forms/form.h"
#include "forms/label.h"
#include "forms/text_box.h"

namespace migration {

class Program;

class frmRestoreLog final : public forms::Form {
 public:
  explicit frmRestoreLog(Program& program);

  // Fills the window with the log at `path`.
  void showLog(const std::string& path);
  void cmdClose_Click();

  forms::Label lblPath;
  forms::RichTextBox txtLog;
  forms::CommandButton cmdClose;

 private:
  Program& m_program;
};

}  // namespace migration
