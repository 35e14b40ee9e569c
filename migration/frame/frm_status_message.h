// The small "Please Wait" window shown, always on top, while an unattended export or restore
// runs. Its caption grows a dot every half second, up to ten, then starts again at one.
#pragma once

#include "forms/form.h"
#include "forms/label.h"
#include "forms/timer.h"

namespace migration {

class Program;

class frmStatusMessage final : public forms::Form {
 public:
  explicit frmStatusMessage(Program& program);

  void Timer1_Timer();

  forms::Label Label1;
  forms::Timer Timer1;

 protected:
  void Form_Load() override;
};

}  // namespace migration
