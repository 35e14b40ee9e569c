// The simwin subcommands that show or use a machine: each takes the words after its name and
// returns the process exit code (0 done, 1 failed, 2 bad usage).
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "platform/machine.h"

namespace simwin {

using Arguments = std::vector<std::string>;

int runDirCommand(platform::Machine& machine, const Arguments& args, std::ostream& out,
                  std::ostream& err);
int runDrivesCommand(platform::Machine& machine, const Arguments& args, std::ostream& out,
                     std::ostream& err);
int runEnvCommand(platform::Machine& machine, const Arguments& args, std::ostream& out,
                  std::ostream& err);
int runUserCommand(platform::Machine& machine, const Arguments& args, std::ostream& out,
                   std::ostream& err);
int runRunCommand(platform::Machine& machine, const Arguments& args, std::ostream& out,
                  std::ostream& err);

// "error 3 (the path is not found)": a status as people read it.
std::string describeStatus(platform::Status status);
// "2001-03-14 09:30" (UTC).
std::string formatFileTime(platform::FileTime time);
// "R-HS-A"-style letters: R read-only, H hidden, S system, D directory, A archive; '-' for unset.
std::string formatAttributes(std::uint32_t attributes);

}  // namespace simwin
