#include "scan/frm_message.h"

#include "context/program.h"

namespace migration {

frmMessage::frmMessage(Program& program)
    : forms::Form(program.ui(), "frmMessage", "Please wait..."),
      lblMessage("lblMessage", ""),
      cmdCancel("cmdCancel", "Cancel"),
      m_program(program) {
  add(lblMessage);
  add(cmdCancel);
  cmdCancel.onClick = [this] { cmdCancel_Click(); };
}

void frmMessage::Form_Load() { setTopmost(true); }

void frmMessage::Cancel_Message(const std::string& message) {
  m_program.session.bCancel = false;
  lblMessage.setCaption(message);
  show(forms::ShowMode::Modeless);
}

void frmMessage::Close_Message() {
  m_program.session.bCancel = false;
  unload();
}

// The window stays open: the running operation sees the flag at its next poll and its caller
// closes the window.
void frmMessage::cmdCancel_Click() { m_program.session.bCancel = true; }

}  // namespace migration
