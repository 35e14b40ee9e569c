// The machine's printers as the capture and the restore list them: EnumPrintersA at level 1 with
// PRINTER_ENUM_LOCAL and PRINTER_ENUM_CONNECTIONS, asked first with a 3,072-byte buffer and once
// more with the size the call asks for.
#pragma once

#include <string>
#include <vector>

#include "platform/printers.h"

namespace migration {

// The description ("name,driver,location") of each local printer and printer connection, in the
// order the system gives them; none when the enumeration fails.
std::vector<std::string> EnumeratePrinterDescriptions(platform::Printers& printers);

}  // namespace migration
