// The machine's printers as the program sees them: EnumPrintersA at information level 1, and the
// printer list the program keeps (a device name and a printer value per printer). Text is ANSI.
#pragma once

#include <string>
#include <vector>

#include "platform/registry.h"
#include "platform/status.h"

namespace platform {

inline constexpr DWORD PRINTER_ENUM_LOCAL = 0x00000002;
inline constexpr DWORD PRINTER_ENUM_CONNECTIONS = 0x00000004;
inline constexpr DWORD PRINTER_ENUM_NAME = 0x00000008;
// The flag every printer entry carries at level 1 (containers of a print provider carry others).
inline constexpr DWORD PRINTER_ENUM_ICON8 = 0x00800000;

// Windows' PRINTER_INFO_1A; the strings lie in the caller's buffer after the entries.
struct PRINTER_INFO_1A {
  DWORD Flags;
  char* pDescription;  // "name,driver,location"
  char* pName;         // the printer's name; \\server\share for a connection
  char* pComment;
};

// One printer of the program's printer list.
struct ListedPrinter {
  std::string deviceName;  // as EnumPrintersA names it
  // What the printer is re-created from: the driver model of a local printer, the \\server\share
  // path of a printer reached over the network.
  std::string printerValue;
};

class Printers {
 public:
  virtual ~Printers() = default;

  // EnumPrintersA at level 1: the entries and their strings in `printerEnum` (`bufferSize`
  // bytes, may be null when the size is 0). `needed` receives the bytes the whole answer takes,
  // `returned` the number of entries. Gives what GetLastError would after a FALSE, and
  // ERROR_SUCCESS for TRUE: ERROR_INSUFFICIENT_BUFFER when the buffer is too small (nothing is
  // written but `needed`), ERROR_INVALID_LEVEL for a level other than 1.
  // PRINTER_ENUM_LOCAL (or PRINTER_ENUM_NAME without a name) lists the local printers in name
  // order, PRINTER_ENUM_CONNECTIONS then the user's printer connections.
  virtual Status EnumPrintersA(DWORD flags, const char* name, DWORD level, BYTE* printerEnum,
                               DWORD bufferSize, DWORD* needed, DWORD* returned) = 0;

  // The local printers and the connections, in the order EnumPrintersA gives them.
  virtual std::vector<ListedPrinter> printerList() = 0;
};

}  // namespace platform
