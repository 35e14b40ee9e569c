#include "native_printers.h"

#include <cstring>
#include <limits>
#include <system_error>
#include <utility>

#include "host_status.h"
#include "platform/text_encoding.h"
#include "registry_values.h"
#include "unc_folders.h"
#include "unc_name.h"

namespace platform {
namespace {

constexpr const char* kPrintersKey = "SYSTEM\\CurrentControlSet\\Control\\Print\\Printers";
constexpr const char* kConnectionsKey = "Printers\\Connections";
constexpr const char* kServersKey =
    "SYSTEM\\CurrentControlSet\\Control\\Print\\Providers\\LanMan Print Services\\Servers";
// The print provider that keeps connections to Windows servers.
constexpr const char* kConnectionProvider = "win32spl.dll";
// Printer names are at most this long; the spooler refuses longer ones.
constexpr std::size_t kMaxPrinterName = 220;

// The texts of one level-1 entry.
struct Level1 {
  std::string description;
  std::string name;
  std::string comment;

  std::size_t bytes() const { return description.size() + name.size() + comment.size() + 3; }
};

Level1 level1Of(const PrinterDetails& printer) {
  return {printer.name + "," + printer.driver + "," + printer.location, printer.name,
          printer.description};
}

std::size_t level1Size(const std::vector<Level1>& entries) {
  std::size_t total = entries.size() * sizeof(PRINTER_INFO_1A);
  for (const Level1& entry : entries) total += entry.bytes();
  return total;
}

// The entries first, their strings after them, as one block the caller owns. `buffer` need not
// be aligned for the entries, so they are copied in bytewise.
void writeLevel1(const std::vector<Level1>& entries, BYTE* buffer) {
  BYTE* strings = buffer + entries.size() * sizeof(PRINTER_INFO_1A);
  auto place = [&strings](const std::string& text) {
    char* at = reinterpret_cast<char*>(strings);
    std::memcpy(at, text.c_str(), text.size() + 1);
    strings += text.size() + 1;
    return at;
  };
  for (std::size_t i = 0; i < entries.size(); ++i) {
    PRINTER_INFO_1A info{PRINTER_ENUM_ICON8, place(entries[i].description), place(entries[i].name),
                         place(entries[i].comment)};
    std::memcpy(buffer + i * sizeof info, &info, sizeof info);
  }
}

// ",,server,share" names the connection to \\server\share.
std::string connectionKeyName(const UncName& name) { return ",," + name.server + "," + name.share; }

std::optional<UncName> connectionOfKeyName(const std::string& keyName) {
  if (keyName.rfind(",,", 0) != 0) return std::nullopt;
  std::string unc = keyName;
  for (char& c : unc) {
    if (c == ',') c = '\\';
  }
  return parseUncName(unc);
}

bool isValidPrinterName(const std::string& name) {
  return !name.empty() && name.size() <= kMaxPrinterName &&
         name.find_first_of("\\,!") == std::string::npos;
}

// What the machine knows of a server's printer, whether or not the server can be reached now.
std::optional<PrinterDetails> recordedPrinter(Registry& registry, const UncName& name) {
  const std::string key =
      std::string(kServersKey) + "\\" + name.server + "\\Printers\\" + name.share;
  if (!registryKeyExists(registry, HKEY_LOCAL_MACHINE, key)) return std::nullopt;
  auto text = [&](const char* value) {
    return readStringValue(registry, HKEY_LOCAL_MACHINE, key, value).value_or("");
  };
  PrinterDetails printer;
  printer.name = name.text();
  printer.driver = text("Printer Driver");
  printer.description = text("Description");
  printer.location = text("Location");
  printer.shareName = name.share;
  printer.connection = true;
  return printer;
}

}  // namespace

NativePrinters::NativePrinters(std::filesystem::path machineRoot, Registry& registry)
    : m_resolver(std::move(machineRoot)), m_registry(registry) {}

std::vector<PrinterDetails> NativePrinters::localPrinters() {
  std::vector<PrinterDetails> printers;
  for (const std::string& keyName : subKeyNames(m_registry, HKEY_LOCAL_MACHINE, kPrintersKey)) {
    const std::string key = std::string(kPrintersKey) + "\\" + keyName;
    auto text = [&](const char* value) {
      return readStringValue(m_registry, HKEY_LOCAL_MACHINE, key, value).value_or("");
    };
    PrinterDetails printer;
    printer.name = text("Name");
    if (printer.name.empty()) printer.name = keyName;
    printer.driver = text("Printer Driver");
    printer.port = text("Port");
    printer.shareName = text("Share Name");
    printer.description = text("Description");
    printer.location = text("Location");
    printers.push_back(std::move(printer));
  }
  return printers;
}

std::vector<PrinterDetails> NativePrinters::connections() {
  std::vector<PrinterDetails> printers;
  for (const std::string& keyName : subKeyNames(m_registry, HKEY_CURRENT_USER, kConnectionsKey)) {
    const auto name = connectionOfKeyName(keyName);
    if (!name) continue;  // not a connection Windows would have written
    PrinterDetails printer;
    printer.name = name->text();
    printer.shareName = name->share;
    printer.connection = true;
    if (auto recorded = recordedPrinter(m_registry, *name)) {
      printer.driver = recorded->driver;
      printer.description = recorded->description;
      printer.location = recorded->location;
    }
    printers.push_back(std::move(printer));
  }
  return printers;
}

std::optional<PrinterDetails> NativePrinters::sharedPrinter(const std::string& uncName) {
  const auto name = parseUncName(uncName);
  if (!name || serverFolder(m_resolver, name->server).empty()) return std::nullopt;
  return recordedPrinter(m_registry, *name);
}

Status NativePrinters::EnumPrintersA(DWORD flags, const char* name, DWORD level, BYTE* printerEnum,
                                     DWORD bufferSize, DWORD* needed, DWORD* returned) {
  if (needed == nullptr || returned == nullptr) return RPC_X_NULL_REF_POINTER;
  *needed = 0;
  *returned = 0;
  if (level != 1) return ERROR_INVALID_LEVEL;
  if (printerEnum == nullptr && bufferSize != 0) return ERROR_INVALID_USER_BUFFER;
  const bool named = name != nullptr && *name != '\0';
  // NOTE: a name asks another print server, and the native machine knows no other.
  if ((flags & PRINTER_ENUM_NAME) != 0 && named) return ERROR_INVALID_NAME;

  std::vector<Level1> entries;
  if ((flags & (PRINTER_ENUM_LOCAL | PRINTER_ENUM_NAME)) != 0) {
    for (const PrinterDetails& printer : localPrinters()) entries.push_back(level1Of(printer));
  }
  if ((flags & PRINTER_ENUM_CONNECTIONS) != 0) {
    for (const PrinterDetails& printer : connections()) entries.push_back(level1Of(printer));
  }
  const std::size_t total = level1Size(entries);
  if (total > std::numeric_limits<DWORD>::max()) return ERROR_NOT_ENOUGH_MEMORY;
  *needed = static_cast<DWORD>(total);
  if (bufferSize < total) return ERROR_INSUFFICIENT_BUFFER;
  writeLevel1(entries, printerEnum);
  *returned = static_cast<DWORD>(entries.size());
  return ERROR_SUCCESS;
}

std::vector<ListedPrinter> NativePrinters::printerList() {
  std::vector<ListedPrinter> list;
  // A local printer is made again from its driver model, a network one by connecting to its
  // path: each printer's value is what re-creates it.
  for (const PrinterDetails& printer : localPrinters())
    list.push_back({printer.name, printer.driver});
  for (const PrinterDetails& printer : connections()) list.push_back({printer.name, printer.name});
  return list;
}

Status NativePrinters::addConnection(const std::string& uncName) {
  if (!sharedPrinter(uncName)) return ERROR_INVALID_PRINTER_NAME;
  return rememberConnection(uncName);
}

Status NativePrinters::rememberConnection(const std::string& uncName) {
  const auto name = parseUncName(uncName);
  if (!name) return ERROR_INVALID_PRINTER_NAME;
  const std::string key = std::string(kConnectionsKey) + "\\" + connectionKeyName(*name);
  if (registryKeyExists(m_registry, HKEY_CURRENT_USER, key)) return ERROR_SUCCESS;
  const Status server =
      writeStringValue(m_registry, HKEY_CURRENT_USER, key, "Server", "\\\\" + name->server);
  if (server.failed()) return server;
  return writeStringValue(m_registry, HKEY_CURRENT_USER, key, "Provider", kConnectionProvider);
}

Status NativePrinters::recordSharedPrinter(const PrinterDetails& printer) {
  const auto name = parseUncName(printer.name);
  if (!name) return ERROR_INVALID_PRINTER_NAME;
  if (serverFolder(m_resolver, name->server).empty()) {
    std::error_code error;
    std::filesystem::create_directories(m_resolver.dosdevices() / "unc" / ansiToUtf8(name->server),
                                        error);
    if (error) return statusFromErrno(error.value());
  }
  const std::string key =
      std::string(kServersKey) + "\\" + name->server + "\\Printers\\" + name->share;
  const std::pair<const char*, const std::string*> values[] = {
      {"Printer Driver", &printer.driver},
      {"Location", &printer.location},
      {"Description", &printer.description},
  };
  for (const auto& [valueName, text] : values) {
    const Status status = writeStringValue(m_registry, HKEY_LOCAL_MACHINE, key, valueName, *text);
    if (status.failed()) return status;
  }
  return ERROR_SUCCESS;
}

Status NativePrinters::removeConnections() {
  for (const std::string& keyName : subKeyNames(m_registry, HKEY_CURRENT_USER, kConnectionsKey)) {
    const std::string key = std::string(kConnectionsKey) + "\\" + keyName;
    const Status status =
        m_registry.RegDeleteTreeA(HKEY_CURRENT_USER, key.c_str());
    if (status.failed()) return status;
  }
  return ERROR_SUCCESS;
}

Status NativePrinters::addLocalPrinter(const PrinterDetails& printer) {
  if (!isValidPrinterName(printer.name)) return ERROR_INVALID_PRINTER_NAME;
  for (const PrinterDetails& existing : localPrinters()) {
    if (ansiEqualNoCase(existing.name, printer.name)) return ERROR_PRINTER_ALREADY_EXISTS;
  }
  const std::string key = std::string(kPrintersKey) + "\\" + printer.name;
  if (registryKeyExists(m_registry, HKEY_LOCAL_MACHINE, key)) return ERROR_PRINTER_ALREADY_EXISTS;
  const std::pair<const char*, const std::string*> values[] = {
      {"Name", &printer.name},
      {"Printer Driver", &printer.driver},
      {"Port", &printer.port},
      {"Share Name", &printer.shareName},
      {"Description", &printer.description},
      {"Location", &printer.location},
  };
  for (const auto& [valueName, text] : values) {
    const Status status = writeStringValue(m_registry, HKEY_LOCAL_MACHINE, key, valueName, *text);
    if (status.failed()) return status;
  }
  return ERROR_SUCCESS;
}

}  // namespace platform
