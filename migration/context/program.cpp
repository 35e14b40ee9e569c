#include "context/program.h"

#include <cassert>

namespace migration {

Program::Program(platform::Machine& machine, forms::Ui& ui, std::string commandLine)
    : m_machine(machine), m_ui(ui), m_commandLine(std::move(commandLine)) {}

// The windows refer to the program and to each other: the last made goes first, the main window
// (made first) last.
Program::~Program() {
  while (!m_sharedForms.empty()) m_sharedForms.pop_back();
}

MainWindow& Program::mainWindow() {
  assert(m_mainWindow != nullptr);
  return *m_mainWindow;
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
