// The machine's printers as EnumPrintersA lists them at level 1 (local printers and the user's
// printer connections): their descriptions, "name,driver,location". The printer capture reads
// them on the old machine and the printer restore on the new one.
#pragma once

#include <string>
#include <vector>

#include "platform/printers.h"

namespace migration {

// Asks with a buffer of 3072 bytes, and once more with the size the call asks for when that is
// too small; any other failure gives no printers.
std::vector<std::string> EnumeratePrinterDescriptions(platform::Printers& printers);

}  // namespace migration
