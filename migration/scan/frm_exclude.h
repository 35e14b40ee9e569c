// The dialog that edits the exclude list: directories the file scan does not enter.
#pragma once

#include "forms/command_button.h"
#include "forms/dir_list_box.h"
#include "forms/drive_list_box.h"
#include "forms/form.h"
#include "forms/frame.h"
#include "forms/list_view.h"

namespace migration {

class Program;

class frmExclude final : public forms::Form {
 public:
  explicit frmExclude(Program& program);

  void Drive1_Change();
  void cmdAdd_Click();
  void cmdRemove_Click();
  void cmdSave_Click();
  void cmdClose_Click();

  forms::Frame fraBrowse;
  forms::DriveListBox Drive1;
  forms::DirListBox Dir1;
  forms::CommandButton cmdAdd;
  forms::ListView lvExclude;
  forms::CommandButton cmdRemove;
  forms::CommandButton cmdSave;
  forms::CommandButton cmdClose;

  // The rows differ from what was last saved.
  bool bChanged = false;

 protected:
  void Form_Load() override;
  // Closing by the button or the window frame asks about unsaved rows first.
  bool Form_QueryUnload(forms::UnloadMode mode) override;

 private:
  void FillExcludeList();
  void SaveExcludeList();
  bool QuerySaveChanges();

  Program& m_program;
};

}  // namespace migration
