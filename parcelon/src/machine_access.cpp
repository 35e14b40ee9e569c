#include "machine_access.h"

#include "machine_opener.h"

namespace parcelon {
namespace {

// The machine the library opened itself, with the clock it runs on.
class OwnedMachine final : public platform::Machine {
 public:
  static platform::Result<std::unique_ptr<platform::Machine>> open() {
    auto owned = std::unique_ptr<OwnedMachine>(new OwnedMachine());
    auto machine = platform::openNativeMachine(owned->m_clock);
    if (!machine) {
      return platform::Result<std::unique_ptr<platform::Machine>>::failure(machine.status(),
                                                                           machine.subject());
    }
    owned->m_machine = std::move(*machine);
    return std::unique_ptr<platform::Machine>(std::move(owned));
  }

  platform::FileSystem& files() override { return m_machine->files(); }
  platform::Registry& registry() override { return m_machine->registry(); }
  platform::Environment& environment() override { return m_machine->environment(); }
  platform::Processes& processes() override { return m_machine->processes(); }
  platform::Clock& clock() override { return m_clock; }
  std::string programDirectory() override { return m_machine->programDirectory(); }
  platform::LibraryLoader* libraryLoader() override { return m_machine->libraryLoader(); }
  platform::ThreadService* threads() override { return m_machine->threads(); }

 private:
  OwnedMachine() = default;
  platform::SystemClock m_clock;
  std::unique_ptr<platform::NativeMachine> m_machine;
};

}  // namespace

platform::Result<MachineAccess> machineFor(const ParcelonHost* host) {
  MachineAccess access;
  if (host != nullptr && host->machine != nullptr) {
    access.machine = static_cast<platform::Machine*>(host->machine);
    return access;
  }
  auto opened = OwnedMachine::open();
  if (!opened) return platform::Result<MachineAccess>::failure(opened.status(), opened.subject());
  access.owned = std::move(*opened);
  access.machine = access.owned.get();
  return access;
}

}  // namespace parcelon
