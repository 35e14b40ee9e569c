#include "context/program.h"

#include <cassert>

namespace migration {

namespace {

std::string twoDigits(int value) { return (value < 10 ? "0" : "") + std::to_string(value); }

}  // namespace

Program::Program(platform::Machine& machine, forms::Ui& ui, std::string commandLine)
    : m_machine(machine),
      m_ui(ui),
      m_commandLine(std::move(commandLine)),
      m_runLog(machine.files(), [this] { return localTimestamp(); }) {}

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

std::string Program::localTimestamp() {
  const LocalDateTime now = regionalFormat().localTime(m_machine.clock().now());
  return std::to_string(now.year) + "-" + twoDigits(now.month) + "-" + twoDigits(now.day) + " " +
         twoDigits(now.hour) + ":" + twoDigits(now.minute) + ":" + twoDigits(now.second);
}

forms::MsgAnswer Program::msgBox(const std::string& prompt, forms::MsgButtons buttons,
                                 forms::MsgIcon icon, const std::string& title) {
  return m_ui.messageBox({prompt, buttons, icon, title});
}

}  // namespace migration
