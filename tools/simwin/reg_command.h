// simwin reg: the registry of a machine as Windows' `reg` command shows and changes it.
//   reg query KEY [/v NAME | /ve]   the key's values and sub-keys, or one value
//   reg import FILE                 a .reg file (a host path, or a Windows path on the machine)
// KEY starts with a root: HKLM, HKCU, HKCR, HKU, HKCC or the full HKEY_... name.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "platform/machine.h"

namespace simwin {

// `args` are the words after "reg". Returns 0 done, 1 failed, 2 bad usage.
int runRegCommand(platform::Machine& machine, const std::vector<std::string>& args,
                  std::ostream& out, std::ostream& err);

}  // namespace simwin
