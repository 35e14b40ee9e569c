#include "context/printer_enumeration.h"

namespace migration {

namespace {

constexpr platform::DWORD kFirstBufferSize = 3072;
constexpr platform::DWORD kLocalAndConnections =
    platform::PRINTER_ENUM_LOCAL | platform::PRINTER_ENUM_CONNECTIONS;

}  // namespace

std::vector<std::string> EnumeratePrinterDescriptions(platform::Printers& printers) {
  // Entries are PRINTER_INFO_1A records: the buffer is kept aligned for them.
  std::vector<platform::PRINTER_INFO_1A> buffer;
  platform::DWORD size = kFirstBufferSize;
  platform::DWORD needed = 0;
  platform::DWORD returned = 0;
  auto call = [&] {
    buffer.resize(size / sizeof(platform::PRINTER_INFO_1A) + 1);
    return printers.EnumPrintersA(kLocalAndConnections, nullptr, 1,
                                  reinterpret_cast<platform::BYTE*>(buffer.data()), size, &needed,
                                  &returned);
  };
  platform::Status status = call();
  if (status == platform::ERROR_INSUFFICIENT_BUFFER) {
    size = needed;
    status = call();
  }
  std::vector<std::string> descriptions;
  if (status.failed()) return descriptions;
  for (platform::DWORD i = 0; i < returned; ++i) {
    const char* description = buffer[i].pDescription;
    descriptions.emplace_back(description != nullptr ? description : "");
  }
  return descriptions;
}

}  // namespace migration
