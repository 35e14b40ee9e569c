// What the [machine] lines of a scenario describe: drives, the user and the environment, files,
// registry values, shares and printers. Read from the lines alone; a backend builds it.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "native_printers.h"  // PrinterDetails
#include "platform/clock.h"
#include "registry_text.h"
#include "scenario_file.h"
#include "unc_name.h"

namespace scenario {

struct DriveSpec {
  std::string wineType = "hd";
  std::string label;
  std::string share;  // \\server\share for a network drive
  bool ready = true;
};

struct FileDescription {
  std::string path;
  bool folder = false;
  std::string bytes;
  std::optional<platform::FileTime> time;
  std::uint32_t attributes = 0;
  std::string location;
};

struct MachineDescription {
  static constexpr const char* kDefaultProgramDirectory = "C:\\Transvale";

  std::map<char, DriveSpec> drives{{'c', DriveSpec{}}};
  std::optional<std::string> user = "jsmith";
  std::map<std::string, std::string> environment{{"OS", "Windows_NT"}, {"windir", "C:\\WINNT"}};
  std::string programDirectory = kDefaultProgramDirectory;
  std::vector<FileDescription> files;
  struct RegLine {
    RegistryPath path;
    std::optional<std::string> name;
    RegistryData data;
  };
  std::vector<RegLine> registry;
  bool zipComponent = false;
  std::vector<platform::UncName> shares;
  // Printers with the line that made each, for messages.
  std::vector<std::pair<platform::PrinterDetails, std::string>> printers;
  std::vector<std::pair<platform::PrinterDetails, std::string>> sharedPrinters;
  std::vector<std::pair<std::string, std::string>> printerConnections;
};

// Reads the lines into `description`; false with `error` ("file:line: why") when a line is wrong.
bool describeMachine(const std::vector<ScenarioLine>& lines, MachineDescription& description,
                     std::string& error);

}  // namespace scenario
