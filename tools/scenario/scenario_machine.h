// The machine a scenario runs on: a fresh machine root in a temporary folder, built from the
// [machine] lines with the native backend, on a virtual clock. Removed when destroyed.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "native_machine.h"
#include "platform/clock.h"
#include "scenario_file.h"

namespace scenario {

class ScenarioMachine {
 public:
  ScenarioMachine() = default;
  ~ScenarioMachine();
  ScenarioMachine(const ScenarioMachine&) = delete;
  ScenarioMachine& operator=(const ScenarioMachine&) = delete;

  // Builds the machine; false with `error` ("file:line: why") when a line is wrong.
  bool build(const std::vector<ScenarioLine>& lines, std::string& error);

  platform::NativeMachine& machine() { return *m_machine; }
  platform::VirtualClock& clock() { return m_clock; }
  const std::filesystem::path& root() const { return m_root; }
  // Leaves the machine root in place (for a look after a failure).
  void keep() { m_keep = true; }

 private:
  std::filesystem::path m_root;
  platform::VirtualClock m_clock;
  std::unique_ptr<platform::NativeMachine> m_machine;
  bool m_keep = false;
};

}  // namespace scenario
