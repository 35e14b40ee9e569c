// Renders every window of the program to PNG files, filled as on the machine it runs on: the
// main window on each of its tabs and each dialog. Needs a QApplication (offscreen will do).
#pragma once

#include <filesystem>
#include <iosfwd>

#include "platform/machine.h"

namespace app {

// Returns 0 when every picture was written; says what went wrong on `log` otherwise.
int takeScreenshots(platform::Machine& machine, const std::filesystem::path& folder,
                    std::ostream& log);

}  // namespace app
