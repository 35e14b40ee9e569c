// A small progress window, always on top and modeless, whose Cancel button asks the running
// scan or capture to stop (the program-wide bCancel, polled by the long operations).
#pragma once

#include <string>

#include "forms/command_button.h"
#include "forms/form.h"
#include "forms/label.h"

namespace migration {

class Program;

class frmMessage final : public forms::Form {
 public:
  explicit frmMessage(Program& program);

  // Clears bCancel, shows `message` and the window without waiting.
  void Cancel_Message(const std::string& message);
  // Clears bCancel and closes the window.
  void Close_Message();
  void cmdCancel_Click();

  forms::Label lblMessage;
  forms::CommandButton cmdCancel;

 protected:
  void Form_Load() override;

 private:
  Program& m_program;
};

}  // namespace migration
