#include "frame/program.h"

#include "frame/frm_main.h"
#include "frame/frm_status_message.h"
#include "scan/frm_message.h"
#include "script/frm_reg_enum.h"

namespace migration {

Program::Program(platform::Machine& machine, forms::Ui& ui, std::string commandLine)
    : m_machine(machine), m_ui(ui), m_commandLine(std::move(commandLine)) {}

// The windows refer to the program, so they go first.
Program::~Program() {
  m_regEnumForm.reset();
  m_messageForm.reset();
  m_statusMessageForm.reset();
  m_mainForm.reset();
}

frmMain& Program::mainForm() {
  if (!m_mainForm) m_mainForm = std::make_unique<frmMain>(*this);
  return *m_mainForm;
}

frmStatusMessage& Program::statusMessageForm() {
  if (!m_statusMessageForm) m_statusMessageForm = std::make_unique<frmStatusMessage>(*this);
  return *m_statusMessageForm;
}

frmMessage& Program::messageForm() {
  if (!m_messageForm) m_messageForm = std::make_unique<frmMessage>(*this);
  return *m_messageForm;
}

frmRegEnum& Program::regEnumForm() {
  if (!m_regEnumForm) m_regEnumForm = std::make_unique<frmRegEnum>(*this);
  return *m_regEnumForm;
}

const RegionalFormat& Program::regionalFormat() {
  if (!m_regionalFormat) {
    m_regionalFormat = std::make_unique<RegionalFormat>(RegionalFormat::ofMachine(registry()));
  }
  return *m_regionalFormat;
}

forms::MsgAnswer Program::msgBox(const std::string& prompt, forms::MsgButtons buttons,
                                 forms::MsgIcon icon, const std::string& title) {
  return m_ui.messageBox({prompt, buttons, icon, title});
}

}  // namespace migration
