// The dialog that creates one new directory inside a given parent.
#pragma once

#include <string>

#include "forms/command_button.h"
#include "forms/form.h"
#include "forms/label.h"
#include "forms/text_box.h"

namespace migration {

class Program;

class frmNewDir final : public forms::Form {
 public:
  explicit frmNewDir(Program& program);

  // Shows the dialog modally to create a directory inside `parent`.
  void New_Dir(const std::string& parent);
  void cmdOk_Click();
  void cmdCancel_Click();

  forms::Label lblDir;
  forms::TextBox txtDir;
  forms::CommandButton cmdOk;
  forms::CommandButton cmdCancel;

  std::string strParent;

 private:
  Program& m_program;
};

}  // namespace migration
