// The user interface of an unattended run without a display: message boxes go to a log (standard
// error) and take their default answer; a window that would wait for the user is closed as if by
// its window frame, since nobody can answer it.
#pragma once

#include <iosfwd>
#include <vector>

#include "forms/ui.h"

namespace forms {

class HeadlessUi final : public Ui {
 public:
  explicit HeadlessUi(std::ostream& log);

  MsgAnswer messageBox(const MessageBox& box) override;
  void showModal(Form& form) override;
  void showModeless(Form& form) override;
  void formHidden(Form& form) override;
  void doEvents() override {}
  void setMousePointer(MousePointer /*pointer*/) override {}
  // Closes every window still shown, as its window frame would.
  void run() override;

 private:
  std::ostream& m_log;
  std::vector<Form*> m_shown;
};

}  // namespace forms
