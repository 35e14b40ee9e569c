// A control as the C interface hands it out: the control itself with the machine it works on,
// its random source and the host's callbacks.
#pragma once

#include <memory>

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

  ParcelonCtrl& control() { return *m_control; }
  void advise(ParcelonStatusSink sink, void* context);

 private:
  std::unique_ptr<RandomSource> makeRandomSource(platform::Machine& machine);

  std::unique_ptr<platform::Machine> m_ownedMachine;
  ParcelonHost m_host;
  std::unique_ptr<RandomSource> m_random;
  std::unique_ptr<ParcelonCtrl> m_control;
};

}  // namespace parcelon
