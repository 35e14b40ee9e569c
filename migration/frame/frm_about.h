// The about box: the program's name and version, an OK button, and a button that starts the
// platform's system information program.
#pragma once

#include <string>

#include "forms/command_button.h"
#include "forms/form.h"
#include "forms/label.h"

namespace migration {

class Program;

class frmAbout final : public forms::Form {
 public:
  explicit frmAbout(Program& program);

  void cmdOK_Click();
  void cmdSysInfo_Click();
  // The system information program's path from the registry, or "" when none is recorded.
  std::string systemInfoPath() const;

  forms::Label lblTitle;
  forms::Label lblVersion;
  forms::Label lblDescription;
  forms::CommandButton cmdOK;
  forms::CommandButton cmdSysInfo;

 private:
  Program& m_program;
};

}  // namespace migration
