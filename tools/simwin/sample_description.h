// The description of a sample machine (machine.txt): its drives, shares and printers, and the
// file times and attributes that a source tree in git cannot keep. samples/README.md documents the
// format.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "native_printers.h"
#include "platform/file_system.h"

namespace simwin {

struct SampleDrive {
  char letter = 'C';   // upper case
  std::string type;    // as HKLM\Software\Wine\Drives names it: hd, floppy, cdrom, network, ramdisk
  std::string target;  // "drive_c" (below the prefix), "unc/server/share", or "/" for the host
  std::string label;   // empty for none
  bool missing = false;  // the target stays absent: a drive that is not ready
};

struct SampleTime {
  std::string path;  // a Windows path on the machine
  platform::FileTime time = 0;
};

struct SampleAttributes {
  std::string path;
  std::uint32_t attributes = 0;  // READONLY, HIDDEN, SYSTEM
};

// A printer driver catalogue (an INF file) that lists these models.
struct SampleCatalogue {
  std::string path;  // a Windows path on the machine
  std::vector<std::string> models;
};

struct SampleDescription {
  std::optional<platform::FileTime> defaultTime;
  std::vector<SampleDrive> drives;
  std::vector<SampleTime> times;
  std::vector<SampleAttributes> attributes;
  std::vector<std::string> shares;                       // \\server\share
  std::vector<platform::PrinterDetails> printers;        // local ones
  std::vector<platform::PrinterDetails> sharedPrinters;  // offered by a server: \\server\share
  std::vector<std::string> printerConnections;           // \\server\share
  std::vector<SampleCatalogue> catalogues;
};

// A failure's subject reads "line N: what is wrong".
platform::Result<SampleDescription> parseSampleDescription(std::string_view text);

// "2001-03-14 09:30:00" (UTC) as a FILETIME.
std::optional<platform::FileTime> parseSampleTime(const std::string& date, const std::string& time);

}  // namespace simwin
