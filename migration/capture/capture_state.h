// The settings capture on the old machine: the migration directory with its sub-directories,
// the master command file written block by block, the capture step of every selected setting
// in list order, the capture script's registry keys, and the Favorites folder.
#pragma once

#include <string>

namespace migration {

class CaptureRun;
class Program;

// Captures the settings selected in the main window's list into `migrationBase`\Migration.
// `filesCopied` says whether data files were copied earlier in the session. A cancel stops the
// capture before the next item, leaving the blocks written so far.
void CaptureState(Program& program, const std::string& migrationBase, bool filesCopied);

// Exports every registry entry of the capture script as "script<n>.mig" in the drivers
// directory, numbered from 1 in the order of the script.
void RunCaptureScript(CaptureRun& run, const std::string& migrationDir);

}  // namespace migration
