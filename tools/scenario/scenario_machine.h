// The machine a scenario runs on, built from its [machine] lines on a virtual clock by the backend
// the build is for: a fresh simulated machine in a temporary folder (native_scenario_machine), or
// the Windows the driver runs on (win32_scenario_machine). Put away when destroyed.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/machine.h"
#include "scenario_file.h"

namespace scenario {

class ScenarioMachine {
 public:
  virtual ~ScenarioMachine() = default;

  virtual platform::Machine& machine() = 0;
  virtual platform::VirtualClock& clock() = 0;
  // Every command line the program asked the machine to start, in order.
  virtual std::vector<std::string> startedCommands() const = 0;
  // Leaves the machine in place after the scenario (for a look after a failure) and says where.
  virtual std::string keep() = 0;
};

// Why a machine was not built: a wrong line ("file:line: why"), or a line that asks for what only
// the simulated machine can make (a further drive, a share or a printer on the real Windows).
struct MachineProblem {
  std::string text;
  bool nativeOnly = false;
};

// The machine the lines describe; nothing, with the problem, when it cannot be built.
std::unique_ptr<ScenarioMachine> buildScenarioMachine(const std::vector<ScenarioLine>& lines,
                                                      MachineProblem& problem);

}  // namespace scenario
