// The dialog that picks a directory, or a master command file (Master.mig), and can create a new
// directory on the way.
#pragma once

#include <string>

#include "forms/command_button.h"
#include "forms/dir_list_box.h"
#include "forms/drive_list_box.h"
#include "forms/file_list_box.h"
#include "forms/form.h"
#include "forms/label.h"

namespace migration {

class Program;

class frmBrowse final : public forms::Form {
 public:
  explicit frmBrowse(Program& program);

  // Mode 1 picks a master command file, any other mode a directory. Shows the dialog modally and
  // returns the choice when it was closed with OK, otherwise "".
  std::string Get_Dir(int mode);

  void Drive1_Change();
  void Dir1_Change();
  void cmdOK_Click();
  void cmdCancel_Click();
  void cmdCreate_Click();

  forms::DriveListBox Drive1;
  forms::DirListBox Dir1;
  forms::Label lblMig;
  forms::FileListBox filMig;
  forms::CommandButton cmdCreate;
  forms::CommandButton cmdOK;
  forms::CommandButton cmdCancel;

  std::string strSelected;  // the directory or master file chosen so far
  bool bOK = false;         // closed with OK

 protected:
  bool Form_QueryUnload(forms::UnloadMode mode) override;

 private:
  bool masterFileMode() const { return m_mode == 1; }

  Program& m_program;
  int m_mode = 0;
};

}  // namespace migration
