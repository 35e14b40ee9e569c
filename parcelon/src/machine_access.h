// The machine that a control or the registration works on: the host's, or, when the host lends
// none, the machine in WINEPREFIX that the library opens itself.
#pragma once

#include <memory>

#include "parcelon/parcelon.h"
#include "platform/machine.h"

namespace parcelon {

struct MachineAccess {
  platform::Machine* machine = nullptr;
  std::unique_ptr<platform::Machine> owned;  // set when the library opened the machine
};

platform::Result<MachineAccess> machineFor(const ParcelonHost* host);

}  // namespace parcelon
