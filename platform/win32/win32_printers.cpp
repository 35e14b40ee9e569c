#include "win32_printers.h"

#include "win32_status.h"
#include "windows_api.h"

namespace platform {

Status Win32Printers::EnumPrintersA(DWORD flags, const char* name, DWORD level, BYTE* printerEnum,
                                    DWORD bufferSize, DWORD* needed, DWORD* returned) {
  // The platform's PRINTER_INFO_1A has Windows' layout, so the answer goes straight into the
  // caller's buffer.
  static_assert(sizeof(platform::PRINTER_INFO_1A) == sizeof(::PRINTER_INFO_1A));
  ::DWORD neededBytes = 0;
  ::DWORD count = 0;
  const bool done = ::EnumPrintersA(flags, const_cast<char*>(name), level, printerEnum, bufferSize,
                                    &neededBytes, &count) != 0;
  if (needed != nullptr) *needed = neededBytes;
  if (returned != nullptr) *returned = done ? count : 0;
  return done ? Status() : lastWindowsError();
}

std::vector<ListedPrinter> Win32Printers::printerList() {
  std::vector<ListedPrinter> list;
  const ::DWORD flags = PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS;
  ::DWORD needed = 0;
  ::DWORD count = 0;
  ::EnumPrintersA(flags, nullptr, 2, nullptr, 0, &needed, &count);
  if (needed == 0) return list;
  std::vector<::BYTE> buffer(needed);
  if (!::EnumPrintersA(flags, nullptr, 2, buffer.data(), needed, &needed, &count)) return list;
  const auto* printers = reinterpret_cast<const ::PRINTER_INFO_2A*>(buffer.data());
  for (::DWORD i = 0; i < count; ++i) {
    const ::PRINTER_INFO_2A& printer = printers[i];
    const std::string name = printer.pPrinterName != nullptr ? printer.pPrinterName : "";
    // A local printer is made again from its driver model, a network one by connecting to its
    // path: each printer's value is what re-creates it.
    const bool network = (printer.Attributes & PRINTER_ATTRIBUTE_NETWORK) != 0 ||
                         name.rfind("\\\\", 0) == 0;
    const std::string driver = printer.pDriverName != nullptr ? printer.pDriverName : "";
    list.push_back({name, network ? name : driver});
  }
  return list;
}

}  // namespace platform
