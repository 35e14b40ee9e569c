// The capture script script.mig in the program directory: one entry a line, CR LF ended. A line
// whose first four characters are "hkey" in any case names a registry key
// ("HKEY_CURRENT_USER\Software\Example"); every other line is the full path of a file.
#pragma once

#include <string>
#include <string_view>

#include "context/session_context.h"

namespace migration {

// The program directory's script.mig, whichever directory the user works in.
std::string ScriptFilePath(const SessionContext& session);

bool IsRegistryEntry(std::string_view line);

}  // namespace migration
