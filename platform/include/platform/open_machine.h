// The machine this program runs on, whatever the backend: the simulated one opens the Wine-style
// prefix named by WINEPREFIX (~/.wine when unset) and refuses one that a running Wine server
// holds; a real Windows backend opens the computer itself. The machine runs on the host's clock.
#pragma once

#include <memory>

#include "platform/machine.h"

namespace platform {

// A failure's subject is a message for people: which machine could not be opened, and why.
Result<std::unique_ptr<Machine>> openMachine();

}  // namespace platform
