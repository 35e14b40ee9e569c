#include "frame/frm_status_message.h"

#include "context/program.h"

namespace migration {

namespace {
constexpr std::size_t kMostDots = 10;
}

frmStatusMessage::frmStatusMessage(Program& program)
    : forms::Form(program.ui(), "frmStatusMessage", "Please Wait"),
      Label1("Label1", "Migrating Settings and Files"),
      Timer1("Timer1", 500) {
  add(Label1);
  add(Timer1);
  Timer1.onTimer = [this] { Timer1_Timer(); };
}

void frmStatusMessage::Form_Load() { setTopmost(true); }

void frmStatusMessage::Timer1_Timer() {
  const std::string& text = caption();
  const bool full = text.size() >= kMostDots && text.compare(text.size() - kMostDots, kMostDots,
                                                             std::string(kMostDots, '.')) == 0;
  setCaption(full ? "Please Wait." : text + ".");
}

}  // namespace migration
