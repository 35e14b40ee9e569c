// The printer capture: one record per installed or connected printer in the "[Printers]" block,
// the printer's name and the value it is re-created from on the new machine.
#pragma once

namespace migration {

class CaptureRun;

// Writes the records into the open master command file; the driver writes the header and the
// closing empty line. "printlist.txt" in the program directory names the drivers whose local
// printers keep their driver name; a missing list counts as empty.
void CapturePrinters(CaptureRun& run);

}  // namespace migration
