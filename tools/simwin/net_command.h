// simwin net use: the machine's network connections as Windows' `net use` shows and makes them.
//   net use                                  every letter mapped to a share, and every mapping
//                                            the user's profile remembers (HKCU\Network)
//   net use X: \\server\share [/persistent:yes|no]
//                                            maps a letter through WNetAddConnection2A
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "platform/machine.h"

namespace simwin {

// `args` are the words after "net". Returns 0 done, 1 failed, 2 bad usage.
int runNetCommand(platform::Machine& machine, const std::vector<std::string>& args,
                  std::ostream& out, std::ostream& err);

}  // namespace simwin
