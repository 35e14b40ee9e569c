// Opening the machine that a native program works on: the Wine prefix named by WINEPREFIX, as
// Wine's own tools find it, refused while a running Wine server holds it.
#pragma once

#include <filesystem>
#include <memory>

#include "native_machine.h"

namespace platform {

// WINEPREFIX, or ~/.wine when it is unset or empty.
std::filesystem::path machineRootFromEnvironment();

// True while a Wine server runs for `root`: wineserver holds an fcntl lock on
// <serverBase>/<folder>/server-<dev>-<inode>/lock, where <folder> is .wine-<uid> (upstream
// Wine) or the name written in <root>/wineserver (Debian's Wine).
bool wineServerHolds(const std::filesystem::path& root,
                     const std::filesystem::path& serverBase = "/tmp");

// Checks `root` and opens it, on the host's clock. A failure's subject is a message for people:
// no such folder, not a prefix, or held by a running Wine server.
Result<std::unique_ptr<NativeMachine>> openNativeMachine(const std::filesystem::path& root);

}  // namespace platform
