// The running program: the machine it works on, the user interface, the program-wide values, and
// the windows that live as long as the program (the main window and the shared small windows).
#pragma once

#include <memory>
#include <string>

#include "forms/ui.h"
#include "frame/configuration.h"
#include "frame/regional_format.h"
#include "frame/session_context.h"
#include "platform/machine.h"

namespace migration {

class frmMain;
class frmStatusMessage;
class frmMessage;
class frmRegEnum;

class Program {
 public:
  // `commandLine` is the argument text after the program name.
  Program(platform::Machine& machine, forms::Ui& ui, std::string commandLine);
  ~Program();
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  platform::Machine& machine() { return m_machine; }
  platform::FileSystem& files() { return m_machine.files(); }
  platform::Registry& registry() { return m_machine.registry(); }
  forms::Ui& ui() { return m_ui; }
  const std::string& commandLine() const { return m_commandLine; }

  SessionContext session;
  Configuration config;

  // The windows with one program-wide instance, created on first use.
  frmMain& mainForm();
  bool hasMainForm() const { return m_mainForm != nullptr; }
  frmStatusMessage& statusMessageForm();
  frmMessage& messageForm();
  frmRegEnum& regEnumForm();

  // The machine's date and number formats, read once.
  const RegionalFormat& regionalFormat();

  // Shows a message box; the short form of what every module does.
  forms::MsgAnswer msgBox(const std::string& prompt, forms::MsgButtons buttons,
                          forms::MsgIcon icon, const std::string& title);

 private:
  platform::Machine& m_machine;
  forms::Ui& m_ui;
  std::string m_commandLine;
  std::unique_ptr<frmMain> m_mainForm;
  std::unique_ptr<frmStatusMessage> m_statusMessageForm;
  std::unique_ptr<frmMessage> m_messageForm;
  std::unique_ptr<frmRegEnum> m_regEnumForm;
  std::unique_ptr<RegionalFormat> m_regionalFormat;
};

}  // namespace migration
