// On Windows the machine is the computer the program runs on; opening it cannot fail.
#include "platform/open_machine.h"
#include "win32_machine.h"

namespace platform {

Result<std::unique_ptr<Machine>> openMachine() {
  return std::unique_ptr<Machine>(std::make_unique<Win32Machine>());
}

}  // namespace platform
