// Imports captured registry exports with the registry editor ("regedit /s"), and judges in the
// restore report how many of their values the registry holds afterwards.
#pragma once

#include <string>

#include "restore/restore_report.h"

namespace migration {

class Program;

// ImportRegFile: the export (named "...mig" by the capture) is copied to the same name ending in
// "reg", imported from there, copied back to its "mig" name, and the copy is removed; afterwards
// the export lies where it lay. A copy that fails never costs the export: the original is removed
// only once its copy exists, the "reg" copy only once it is back. A path that already ends in
// "reg" is imported where it is and left in place; so is an export that cannot be copied. An
// empty path names no file and does nothing.
void ImportRegFile(Program& program, const std::string& path, RestoreReport& report);

// RestoreDriverSettings: imports every export of a custom capture script ("script*" files of the
// migration directory's "drivers" folder, which the master command file does not list), listed
// once before the imports rename them.
RoutineOutcome RestoreDriverSettings(Program& program, const std::string& masterFilePath,
                                     RestoreReport& report);

}  // namespace migration
