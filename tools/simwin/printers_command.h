// simwin printers: the machine's printers as the program sees them, first what EnumPrintersA
// gives (local printers and connections, level 1), then the printer list (each device name with
// its printer value).
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "platform/machine.h"

namespace simwin {

// `args` are the words after "printers" (none). Returns 0 done, 1 failed, 2 bad usage.
int runPrintersCommand(platform::Machine& machine, const std::vector<std::string>& args,
                       std::ostream& out, std::ostream& err);

}  // namespace simwin
