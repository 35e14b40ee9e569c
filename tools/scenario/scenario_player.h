// Plays the [actions] of a scenario against the program: starts it with its command line on the
// scripted user interface, then performs the user's actions one after the other. Modal dialogs
// take the actions that follow the one that opened them.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "forms/control.h"
#include "forms/form.h"
#include "forms/scripted_ui.h"
#include "context/program.h"
#include "platform/machine.h"
#include "scenario_file.h"
#include "scenario_text.h"

namespace scenario {

// A control named in a scenario: "txtUser", "cmdSelAll(2)", "frmBrowse.Dir1", with an optional
// property after a further dot ("lvFiles.row(0)", "frmMain.caption").
struct ControlReference {
  forms::Form* form = nullptr;
  forms::Control* control = nullptr;  // null when the reference names a form's property
  std::string property;
};

class ScenarioPlayer {
 public:
  explicit ScenarioPlayer(platform::Machine& machine) : m_machine(machine) {}

  // Plays every action; false with `error` ("file:line: why") when one cannot run. The first
  // call starts the program (its "start" line, or no arguments).
  bool play(const std::vector<ScenarioLine>& actions, std::string& error);

  migration::Program* program() { return m_program.get(); }
  forms::ScriptedUi& ui() { return m_ui; }
  // The window a name stands for: an open dialog, or one of the program's windows.
  forms::Form* findForm(const std::string& name);
  // Throws forms::ScriptError when the reference names nothing.
  ControlReference resolve(const std::string& text);
  // True while a window of the program is shown or the main window is loaded.
  bool running();

 private:
  using Action = forms::ScriptedUi::Action;
  using Words = std::vector<Word>;
  // Queues a line other than "start": an answer, an action at an event, or a user's action
  // (true for the last, which a later "start" may not follow).
  bool queueLine(const ScenarioLine& line, const Words& words);
  Action makeAction(const ScenarioLine& line);
  // One per verb: checks the words now, acts on the program when the action runs.
  Action clickAction(const Words& words);
  Action typeAction(const Words& words);
  Action selectAction(const Words& words);
  Action checkAction(const Words& words);
  Action tabAction(const Words& words);
  Action openAction(const Words& words);
  Action closeAction(const Words& words);
  Action tickAction(const Words& words);
  // The control the action's second word names, resolved when the action runs.
  ControlReference target(const Words& words);
  void start(const std::string& commandLine);

  platform::Machine& m_machine;
  forms::ScriptedUi m_ui;
  std::unique_ptr<migration::Program> m_program;
};

}  // namespace scenario
