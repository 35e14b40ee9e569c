// The small utility routines of the start-up module that every module shares: the user's name,
// environment variables, network drives and text replacement.
#pragma once

#include <string>

#include "platform/environment.h"

namespace migration {

class Program;

namespace System {
// The logged-on user's name through GetUserNameA with a 50-character buffer; empty on failure.
std::string Username(platform::Environment& environment);
}  // namespace System

// The value of an environment variable, or "" when it is not set.
std::string GetEnvVar(Program& program, const std::string& name);
// True when `drive` ("F:") is a network drive; false for any failure to look it up.
bool IsNetworkDrive(Program& program, const std::string& drive);
// Every occurrence of `search` (exact case, not empty) replaced, left to right, no overlaps.
std::string ReplaceText(const std::string& source, const std::string& search,
                        const std::string& replacement);

}  // namespace migration
