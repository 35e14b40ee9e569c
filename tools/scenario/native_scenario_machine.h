// The scenario machine of the native build: a fresh simulated machine (a Wine prefix layout) in a
// temporary folder, removed afterwards unless kept. Every line of a scenario can be made here.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "machine_description.h"
#include "native_machine.h"
#include "scenario_machine.h"

namespace scenario {

class NativeScenarioMachine final : public ScenarioMachine {
 public:
  NativeScenarioMachine() = default;
  ~NativeScenarioMachine() override;
  NativeScenarioMachine(const NativeScenarioMachine&) = delete;
  NativeScenarioMachine& operator=(const NativeScenarioMachine&) = delete;

  // Builds the machine; false with `error` when it cannot be made.
  bool build(const MachineDescription& description, std::string& error);

  platform::Machine& machine() override { return *m_machine; }
  platform::NativeMachine& nativeMachine() { return *m_machine; }
  platform::VirtualClock& clock() override { return m_clock; }
  std::vector<std::string> startedCommands() const override;
  std::string keep() override;

 private:
  std::filesystem::path m_root;
  platform::VirtualClock m_clock;
  std::unique_ptr<platform::NativeMachine> m_machine;
  bool m_keep = false;
};

}  // namespace scenario
