#include "machine_access.h"

#include "platform/open_machine.h"

namespace parcelon {

platform::Result<MachineAccess> machineFor(const ParcelonHost* host) {
  MachineAccess access;
  if (host != nullptr && host->machine != nullptr) {
    access.machine = static_cast<platform::Machine*>(host->machine);
    return access;
  }
  auto opened = platform::openMachine();
  if (!opened) return opened.failureAs<MachineAccess>();
  access.owned = std::move(*opened);
  access.machine = access.owned.get();
  return access;
}

}  // namespace parcelon
