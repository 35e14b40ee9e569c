#include "printers_command.h"

#include <cstring>

#include "machine_commands.h"
#include "platform/printers.h"
#include "platform/text_encoding.h"

namespace simwin {
namespace {

using namespace platform;

constexpr DWORD kLocalAndConnections = PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS;
// What the program passes first; a larger buffer when the call asks for one.
constexpr DWORD kFirstBufferSize = 3072;

struct Enumerated {
  Status status = ERROR_SUCCESS;
  DWORD needed = 0;
  std::vector<PRINTER_INFO_1A> entries;
  std::vector<BYTE> buffer;  // holds the entries' strings
};

Enumerated enumerate(Printers& printers) {
  Enumerated out;
  DWORD returned = 0;
  out.buffer.resize(kFirstBufferSize);
  out.status = printers.EnumPrintersA(kLocalAndConnections, nullptr, 1, out.buffer.data(),
                                      kFirstBufferSize, &out.needed, &returned);
  if (out.status == ERROR_INSUFFICIENT_BUFFER) {
    out.buffer.resize(out.needed);
    out.status = printers.EnumPrintersA(kLocalAndConnections, nullptr, 1, out.buffer.data(),
                                        out.needed, &out.needed, &returned);
  }
  for (DWORD i = 0; out.status.ok() && i < returned; ++i) {
    PRINTER_INFO_1A entry;
    std::memcpy(&entry, out.buffer.data() + i * sizeof entry, sizeof entry);
    out.entries.push_back(entry);
  }
  return out;
}

}  // namespace

int runPrintersCommand(Machine& machine, const std::vector<std::string>& args, std::ostream& out,
                       std::ostream& err) {
  if (!args.empty()) {
    err << "usage: simwin printers\n";
    return 2;
  }
  const Enumerated printers = enumerate(machine.printers());
  if (printers.status.failed()) {
    err << "simwin printers: EnumPrintersA failed: " << describeStatus(printers.status) << "\n";
    return 1;
  }
  out << "EnumPrintersA (local and connections, level 1): " << printers.entries.size()
      << " printer(s), " << printers.needed << " bytes\n";
  for (const PRINTER_INFO_1A& entry : printers.entries) {
    out << "  " << ansiToUtf8(entry.pName) << "\n"
        << "    description  " << ansiToUtf8(entry.pDescription) << "\n";
    if (*entry.pComment != '\0') out << "    comment      " << ansiToUtf8(entry.pComment) << "\n";
  }
  const std::vector<ListedPrinter> list = machine.printers().printerList();
  out << "\nPrinter list (device name = printer value): " << list.size() << " printer(s)\n";
  for (const ListedPrinter& printer : list) {
    out << "  " << ansiToUtf8(printer.deviceName) << " = " << ansiToUtf8(printer.printerValue)
        << "\n";
  }
  return 0;
}

}  // namespace simwin
