// Re-creates the printers of the captured "[Printers]" records on the new machine: a printer
// reached over the network by connecting to it with "con2prt", a local one by installing it from
// the system's driver catalogue on LPT1:. Old driver names are first mapped to the names the new
// catalogue uses; printers that exist already, or that "printers.log" in the program directory
// lists, are left alone.
#pragma once

#include <string>

#include "platform/printers.h"
#include "restore/restore_report.h"

namespace migration {

class Program;

// The driver name the new system's catalogue uses for a captured one (any other is unchanged).
std::string MapDriverName(const std::string& driverName);

// True when the description of an installed or connected printer contains `shareName` (exact,
// with case); false when none does or the printers cannot be listed.
bool PrinterExists(platform::Printers& printers, const std::string& shareName);

// RestorePrinter: re-creates the printer `name` from its captured `value` (a driver model, or a
// value naming a network path or address), then waits 20 seconds on the machine's clock so that
// the installation can finish before the next printer. The item says whether the printer is
// there afterwards, was there already, or was passed over.
RestoreReport::Item RestorePrinter(Program& program, const std::string& name,
                                   const std::string& value);

}  // namespace migration
