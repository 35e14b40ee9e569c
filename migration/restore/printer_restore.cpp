#include "restore/printer_restore.h"

#include <string_view>

#include "context/mdl_main.h"
#include "context/printer_enumeration.h"
#include "context/program.h"
#include "context/run_log.h"
#include "platform/text_encoding.h"
#include "platform/text_file.h"

namespace migration {

namespace {

constexpr std::uint32_t kInstallPause = 20000;  // milliseconds per printer

struct DriverNameRow {
  std::string_view captured;
  std::string_view used;
};

// First matching row wins; exact, with case.
constexpr DriverNameRow kDriverNames[] = {
    {"HP LaserJet 4000 PCL 5e", "HP LaserJet 4000 Series PCL"},
    {"HP LaserJet 4050 Series PCL 5e", "HP LaserJet 4050 Series PCL"},
    {"HP LaserJet 8000 Series PCL 5e", "HP LaserJet 8000 Series PCL"},
    {"HP DeskJet 1600C NT4", "HP DeskJet 1600C"},
    {"HP DesignJet 755CM(C3198B)by HP", "HP DesignJet 755CM"},
    {"HP LaserJet 8000 Series PCL 6", "HP LaserJet 8000 Series PCL"},
    {"HP LaserJet 4050 Series PCL 6", "HP LaserJet 4050 Series PCL"},
    {"HP 2500C Series Printer", "HP 2500C Series"},
    {"HP LaserJet 5Si - DFS", "HP LaserJet 5Si"},
    {"Xerox DC 240/255/265 ST/LP PS2", "Xerox DC 240/255/265 DocuTech PS"},
    {"HP LaserJet 5000 Series PCL 6", "HP LaserJet 5000 Series PCL"},
    {"HP LaserJet 5P/5MP (HP)", "HP LaserJet 5MP"},
    {"Lexmark 1020 (Mono)", "Lexmark 1020 Color Jetprinter  (Mono)"},
    {"Lexmark Optra E+", "Lexmark Optra E+ (MS)"},
    {"Lexmark Optra S 1250", "Lexmark Optra S 1250 (MS)"},
    {"Lexmark Optra S 1650", "Lexmark Optra S 1650 (MS)"},
    {"Lexmark Optra S 2450", "Lexmark Optra S 2450 (MS)"},
    {"Lexmark Optra SC 1275", "Lexmark Optra SC 1275 (MS)"},
    {"Lexmark Optra S 1855 PS2", "Lexmark Optra S 1855 PS"},
    {"Lexmark Optra S 1855", "Lexmark Optra S 1855 (MS)"},
    {"Lexmark Optra SC 1275 PS", "Lexmark Optra SC 1275 (MS)"},
};

bool contains(std::string_view text, std::string_view part) {
  return text.find(part) != std::string_view::npos;
}

// The share name: what follows the first backslash at or after the third character.
std::string shareNameOf(const std::string& name) {
  const std::size_t backslash = name.size() > 2 ? name.find('\\', 2) : std::string::npos;
  return backslash == std::string::npos ? name : name.substr(backslash + 1);
}

// printers.log, read whole; a missing or unreadable file counts as empty.
std::string readPrintersLog(Program& program) {
  const std::string path = program.session.strAppPath + "\\printers.log";
  return platform::readWholeFile(program.files(), path).valueOr(std::string());
}

// A value naming a network path or address is connected to, anything else installed.
bool isNetworkValue(const std::string& value) {
  return contains(value, "\\\\") || contains(value, "142") || contains(value, "10.");
}

std::string installCommand(Program& program, const std::string& model) {
  const std::string quotedModel = "\"" + model + "\"";
  return "rundll32 printui.dll, PrintUIEntry /if /b " + quotedModel + " /f " +
         GetEnvVar(program, "WINDIR") + "\\inf\\ntprint.inf /r \"LPT1:\" /m " + quotedModel;
}

}  // namespace

std::string MapDriverName(const std::string& driverName) {
  for (const DriverNameRow& row : kDriverNames) {
    if (driverName == row.captured) return std::string(row.used);
  }
  return driverName;
}

bool PrinterExists(platform::Printers& printers, const std::string& shareName) {
  for (const std::string& description : EnumeratePrinterDescriptions(printers)) {
    if (contains(description, shareName)) return true;
  }
  return false;
}

RestoreReport::Item RestorePrinter(Program& program, const std::string& name,
                                   const std::string& value) {
  RestoreReport::Item item{name, Arrival::Arrived, {}};
  const std::string model = MapDriverName(value);
  const std::string shareName = shareNameOf(name);
  platform::Printers& printers = program.machine().printers();
  if (PrinterExists(printers, shareName)) {
    item.detail = "already installed";
    return item;
  }
  if (contains(platform::ansiToUpper(readPrintersLog(program)), platform::ansiToUpper(shareName))) {
    item.arrival = Arrival::PassedOver;
    item.detail = "listed in printers.log";
    return item;
  }

  const bool network = isNetworkValue(model);
  const std::string command = network ? "con2prt /c " + model : installCommand(program, model);
  program.runLog().note("printer " + name + ": " + command);
  // Started without waiting: the pause below gives it its time, and what it did is looked at
  // afterwards.
  platform::ignoreFailure(program.machine().processes().start(
                              command, platform::WindowStyle::Hidden, platform::Wait::No),
                          "the printer command could not be started");
  program.machine().clock().sleep(kInstallPause);

  // A connection shows its share name in its description, a local printer its model.
  if (!PrinterExists(printers, network ? shareName : model)) {
    item.arrival = Arrival::Missing;
    item.detail = network ? "con2prt did not connect " + model
                          : "the driver catalogue did not install " + model;
  } else {
    item.detail = network ? "connected" : "installed as " + model;
  }
  return item;
}

}  // namespace migration
