// The custom script builder: a tool window that composes the capture script script.mig from
// registry keys and from files found on a drive. It only ever appends to that file.
#pragma once

#include <string>

#include "forms/command_button.h"
#include "forms/drive_list_box.h"
#include "forms/form.h"
#include "forms/frame.h"
#include "forms/label.h"
#include "forms/list_box.h"
#include "forms/list_view.h"
#include "forms/text_box.h"

namespace migration {

class Program;

class frmRegEnum final : public forms::Form {
 public:
  explicit frmRegEnum(Program& program);

  // Fills lvFiles with every file under `root`, at any depth, whose name matches `pattern`,
  // breadth-first; stops before the next directory once bCancel is set.
  void Scan_Drive(const std::string& root, const std::string& pattern);

  void Command2_Click();
  void Command3_Click();
  void Command4_Click();
  void cmdScript_Click();
  void cmdClear_Click();
  void cmdClose_Click();

  forms::Label lblIntro;
  forms::Frame fraRegistry;
  forms::Label lblMainKey;
  forms::ComboBox Combo1;
  forms::Label lblSubKey;
  forms::TextBox txtSubKey;
  forms::CommandButton Command2;
  forms::Frame fraFiles;
  forms::Label lblFileMask;
  forms::TextBox txtFileMask;
  forms::DriveListBox drvScan;
  forms::CommandButton Command3;
  forms::CommandButton Command4;
  forms::ListView lvFiles;
  forms::Frame fraDetails;
  forms::ListBox lstDetails;
  forms::CommandButton cmdScript;
  forms::CommandButton cmdClear;
  forms::CommandButton cmdClose;

 protected:
  // A window opened again starts as empty as the first time.
  void Form_Load() override;

 private:
  [[nodiscard]] platform::Status appendToScript(const std::string& path);

  Program& m_program;
};

}  // namespace migration
