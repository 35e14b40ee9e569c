// The settings restore on the new machine: reads the master command file section by section and
// hands each section to the routine that puts that kind of setting back (registry exports, files
// in fixed places, network drives, printers); a few steps run on every restore, before and after
// the section pass, the data files among them when "Restore User Documents" is checked.
#pragma once

#include <string>

#include "platform/status.h"
#include "restore/restore_report.h"

namespace migration {

class Program;

// RestoreState, with the master command file's path. Everything it puts in place, passes over or
// fails at goes into `report` and the run log. A master command file that cannot be opened ends
// the section pass at once (the steps that do not read it still run) and gives the status with
// which it failed; the caller tells the user.
[[nodiscard]] platform::Status RestoreState(Program& program, const std::string& masterFilePath,
                                            RestoreReport& report);

}  // namespace migration
