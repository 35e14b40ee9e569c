// A control as the C interface hands it out: the control itself with the machine it works on,
// its random source and the host's callbacks.
#pragma once

#include <cstdint>
#include <memory>
#include <span>

#include "control_dispatcher.h"
#include "parcelon/parcelon.h"
#include "parcelon_ctrl.h"
#include "platform/machine.h"
#include "random_source.h"

namespace parcelon {

class HostedControl {
 public:
  // `machine` is the host's; `ownedMachine` one the library opened itself (or null).
  HostedControl(platform::Machine& machine, std::unique_ptr<platform::Machine> ownedMachine,
                const ParcelonHost& host);

  // Calls a method by dispatch identifier; a call from inside a running one is rejected.
  DispatchOutcome invoke(std::int32_t dispatchId, std::span<const ParcelonVariant> arguments);
  // Refused (false) while a method runs: the running method still calls the old sink.
  [[nodiscard]] bool advise(ParcelonStatusSink sink, void* context);
  bool running() const { return m_running; }

 private:
  std::unique_ptr<RandomSource> makeRandomSource(platform::Machine& machine);

  std::unique_ptr<platform::Machine> m_ownedMachine;
  ParcelonHost m_host;
  std::unique_ptr<RandomSource> m_random;
  std::unique_ptr<ParcelonCtrl> m_control;
  bool m_running = false;
};

}  // namespace parcelon
