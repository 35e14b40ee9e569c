// The printers of the native machine, kept where Windows NT and 2000 keep them: local printers
// under HKLM\SYSTEM\CurrentControlSet\Control\Print\Printers\<name>, the user's connections
// under HKCU\Printers\Connections\,,server,share.
//
// The network's printers: a printer \\server\share can be connected to when the server exists
// (its folder dosdevices/unc/<server>, as for file shares) and shares that printer, which the
// machine records where Windows keeps what it learnt of a server's printers: the key
// Servers\<server>\Printers\<share> under
// HKLM\SYSTEM\CurrentControlSet\Control\Print\Providers\LanMan Print Services, with the
// "Printer Driver", "Location" and "Description" the server gives.
// A connection shows that driver, location and description, as Windows shows what the server
// said of the printer; without such a record they are empty.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "path_resolver.h"
#include "platform/printers.h"
#include "platform/registry.h"

namespace platform {

// What EnumPrintersA reports of one printer.
struct PrinterDetails {
  std::string name;  // \\server\share for a connection
  std::string driver;
  std::string port;
  std::string shareName;
  std::string description;  // the comment
  std::string location;
  bool connection = false;
};

class NativePrinters final : public Printers {
 public:
  // `registry` must outlive this object.
  NativePrinters(std::filesystem::path machineRoot, Registry& registry);

  Status EnumPrintersA(DWORD flags, const char* name, DWORD level, BYTE* printerEnum,
                       DWORD bufferSize, DWORD* needed, DWORD* returned) override;
  std::vector<ListedPrinter> printerList() override;

  std::vector<PrinterDetails> localPrinters();
  std::vector<PrinterDetails> connections();

  // The printer a server shares, as the network describes it; nothing when the server does not
  // exist or shares no such printer.
  std::optional<PrinterDetails> sharedPrinter(const std::string& uncName);

  // AddPrinterConnection: ERROR_INVALID_PRINTER_NAME when the network has no such printer; an
  // existing connection stays as it is.
  [[nodiscard]] Status addConnection(const std::string& uncName);
  // Removes every connection of the user.
  [[nodiscard]] Status removeConnections();
  // Installs a local printer: ERROR_INVALID_PRINTER_NAME for a name Windows refuses,
  // ERROR_PRINTER_ALREADY_EXISTS when one has that name.
  [[nodiscard]] Status addLocalPrinter(const PrinterDetails& printer);

  // For the tools that build machines. Puts a printer on the network: `printer.name` is
  // \\server\share, and the server's folder is made when it has none.
  [[nodiscard]] Status recordSharedPrinter(const PrinterDetails& printer);
  // Writes the user's connection to \\server\share whether or not the network has the printer.
  [[nodiscard]] Status rememberConnection(const std::string& uncName);

 private:
  PathResolver m_resolver;
  Registry& m_registry;
};

}  // namespace platform
