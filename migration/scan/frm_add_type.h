// The dialog that adds custom file types (plain extensions such as xls) to the file scan.
#pragma once

#include "forms/command_button.h"
#include "forms/form.h"
#include "forms/label.h"
#include "forms/text_box.h"

namespace migration {

class Program;

class frmAddType final : public forms::Form {
 public:
  explicit frmAddType(Program& program);

  // Appends the text of txtExt to the custom types as it is (the Add button checks it first)
  // and refreshes lvType.
  void Add_Types();
  // Asks about typed text that was not added; false keeps the dialog open.
  bool QueryAddPending();

  void cmdAdd_Click();
  void cmdClose_Click();

  forms::Label lblInstructions;
  forms::Label lblExt;
  forms::TextBox txtExt;
  forms::Label lblDesc;
  forms::TextBox txtDesc;
  forms::CommandButton cmdAdd;
  forms::CommandButton cmdClose;

  // Text was typed since the dialog opened or since the last successful add.
  bool bChanged = false;

 protected:
  void Form_Load() override;

 private:
  // Refills the main window's lvType from the custom type list.
  void RefreshTypeList();

  Program& m_program;
};

}  // namespace migration
