// The machine's printers through the real EnumPrintersA (winspool.drv). The program's printer
// list takes each printer's driver (a local printer) or its \\server\share name (a connection)
// from information level 2.
#pragma once

#include "platform/printers.h"

namespace platform {

class Win32Printers final : public Printers {
 public:
  Status EnumPrintersA(DWORD flags, const char* name, DWORD level, BYTE* printerEnum,
                       DWORD bufferSize, DWORD* needed, DWORD* returned) override;
  std::vector<ListedPrinter> printerList() override;
};

}  // namespace platform
