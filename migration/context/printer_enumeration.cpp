#include "context/printer_enumeration.h"

namespace migration {

namespace {

constexpr platform::DWORD kFirstBufferSize = 3072;
constexpr platform::DWORD kLocalAndConnections =
    platform::PRINTER_ENUM_LOCAL | platform::PRINTER_ENUM_CONNECTIONS;

}  // namespace

std::vector<std::string> EnumeratePrinterDescriptions(platform::Printers& printers) {
  std::vector<platform::BYTE> buffer(kFirstBufferSize);
  platform::DWORD needed = 0;
  platform::DWORD returned = 0;
  platform::Status status =
      printers.EnumPrintersA(kLocalAndConnections, nullptr, 1, buffer.data(),
                             static_cast<platform::DWORD>(buffer.size()), &needed, &returned);
  if (status == platform::ERROR_INSUFFICIENT_BUFFER) {
    buffer.resize(needed);
    status = printers.EnumPrintersA(kLocalAndConnections, nullptr, 1, buffer.data(),
                                    static_cast<platform::DWORD>(buffer.size()), &needed,
                                    &returned);
  }
  std::vector<std::string> descriptions;
  if (status.failed()) return descriptions;
  const auto* entries = reinterpret_cast<const platform::PRINTER_INFO_1A*>(buffer.data());
  for (platform::DWORD i = 0; i < returned; ++i) {
    const char* description = entries[i].pDescription;
    descriptions.emplace_back(description != nullptr ? description : "");
  }
  return descriptions;
}

}  // namespace migration
