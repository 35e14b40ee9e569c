#include "sample_description.h"

#include <time.h>

#include <cctype>
#include <cstdio>
#include <sstream>

#include "command_line.h"
#include "unc_name.h"

namespace simwin {
namespace {

using platform::Result;

constexpr std::int64_t kUnixEpochInFileTimeSeconds = 11'644'473'600;
const std::vector<std::string> kDriveTypes = {"hd", "floppy", "cdrom", "network", "ramdisk"};

Result<SampleDescription> lineFailure(int line, const std::string& message) {
  return Result<SampleDescription>::failure(platform::ERROR_INVALID_PARAMETER,
                                            "line " + std::to_string(line) + ": " + message);
}

// "C" or "C:" as an upper-case letter, 0 when it is neither.
char driveLetter(const std::string& word) {
  const bool shaped = word.size() == 1 || (word.size() == 2 && word[1] == ':');
  if (!shaped || !std::isalpha(static_cast<unsigned char>(word[0]))) return 0;
  return static_cast<char>(std::toupper(static_cast<unsigned char>(word[0])));
}

bool isSafeTarget(const std::string& target) {
  if (target == "/") return true;
  if (target.empty() || target[0] == '/') return false;
  std::istringstream parts(target);
  for (std::string part; std::getline(parts, part, '/');) {
    if (part.empty() || part == "." || part == "..") return false;
  }
  return true;
}

// drive LETTER TYPE TARGET [label=TEXT] [missing]
std::optional<std::string> parseDrive(const std::vector<std::string>& words, SampleDrive& drive) {
  if (words.size() < 4) return "drive needs a letter, a type and a target";
  drive.letter = driveLetter(words[1]);
  if (drive.letter == 0) return "not a drive letter: " + words[1];
  drive.type = words[2];
  bool known = false;
  for (const std::string& type : kDriveTypes) known = known || type == drive.type;
  if (!known) return "unknown drive type " + drive.type + " (hd, floppy, cdrom, network, ramdisk)";
  drive.target = words[3];
  if (!isSafeTarget(drive.target)) return "the target must lie below the prefix: " + drive.target;
  for (std::size_t i = 4; i < words.size(); ++i) {
    if (words[i].rfind("label=", 0) == 0) {
      drive.label = words[i].substr(6);
    } else if (words[i] == "missing") {
      drive.missing = true;
    } else {
      return "unknown drive option " + words[i];
    }
  }
  if (drive.target == "/" && (!drive.label.empty() || drive.missing)) {
    return "the host drive takes no label and cannot be missing";
  }
  return std::nullopt;
}

// Options NAME=TEXT from `first` on; the message for a word that is none of them.
std::optional<std::string> readOptions(
    const std::vector<std::string>& words, std::size_t first,
    const std::vector<std::pair<std::string, std::string*>>& options) {
  for (std::size_t i = first; i < words.size(); ++i) {
    const std::size_t equals = words[i].find('=');
    bool known = false;
    for (const auto& [name, value] : options) {
      if (equals != std::string::npos && words[i].compare(0, equals, name) == 0 &&
          equals == name.size()) {
        *value = words[i].substr(equals + 1);
        known = true;
      }
    }
    if (!known) return "unknown option " + words[i];
  }
  return std::nullopt;
}

// share \\server\share | printer-connection \\server\share
std::optional<std::string> readShareName(const std::vector<std::string>& words, std::string& name) {
  if (words.size() != 2 || !platform::parseUncName(words[1])) {
    return words[0] + " needs one \\\\server\\share";
  }
  name = words[1];
  return std::nullopt;
}

// printer NAME DRIVER [port=PORT] [location=TEXT] [share=NAME] [comment=TEXT]
std::optional<std::string> parsePrinter(const std::vector<std::string>& words,
                                        platform::PrinterDetails& printer) {
  if (words.size() < 3) return "printer needs a name and a driver";
  printer.name = words[1];
  printer.driver = words[2];
  printer.port = "LPT1:";
  return readOptions(words, 3,
                     {{"port", &printer.port},
                      {"location", &printer.location},
                      {"share", &printer.shareName},
                      {"comment", &printer.description}});
}

// printer-share \\server\share DRIVER [location=TEXT] [comment=TEXT]
std::optional<std::string> parsePrinterShare(const std::vector<std::string>& words,
                                             platform::PrinterDetails& printer) {
  if (words.size() < 3 || !platform::parseUncName(words[1])) {
    return "printer-share needs a \\\\server\\share and a driver";
  }
  printer.name = words[1];
  printer.driver = words[2];
  return readOptions(words, 3,
                     {{"location", &printer.location}, {"comment", &printer.description}});
}

std::optional<std::uint32_t> attributeBit(const std::string& word) {
  if (word == "readonly") return platform::FILE_ATTRIBUTE_READONLY;
  if (word == "hidden") return platform::FILE_ATTRIBUTE_HIDDEN;
  if (word == "system") return platform::FILE_ATTRIBUTE_SYSTEM;
  return std::nullopt;
}

}  // namespace

std::optional<platform::FileTime> parseSampleTime(const std::string& date,
                                                  const std::string& time) {
  tm parts{};
  char end = 0;
  if (std::sscanf(date.c_str(), "%d-%d-%d%c", &parts.tm_year, &parts.tm_mon, &parts.tm_mday,
                  &end) != 3 ||
      std::sscanf(time.c_str(), "%d:%d:%d%c", &parts.tm_hour, &parts.tm_min, &parts.tm_sec, &end) !=
          3) {
    return std::nullopt;
  }
  const bool plausible = parts.tm_year >= 1980 && parts.tm_year <= 2100 && parts.tm_mon >= 1 &&
                         parts.tm_mon <= 12 && parts.tm_mday >= 1 && parts.tm_mday <= 31 &&
                         parts.tm_hour < 24 && parts.tm_min < 60 && parts.tm_sec < 60 &&
                         parts.tm_hour >= 0 && parts.tm_min >= 0 && parts.tm_sec >= 0;
  if (!plausible) return std::nullopt;
  parts.tm_year -= 1900;
  parts.tm_mon -= 1;
  const std::int64_t seconds = ::timegm(&parts) + kUnixEpochInFileTimeSeconds;
  return static_cast<platform::FileTime>(seconds) * 10'000'000;
}

Result<SampleDescription> parseSampleDescription(std::string_view text) {
  SampleDescription out;
  std::istringstream lines{std::string(text)};
  int number = 0;
  for (std::string line; std::getline(lines, line);) {
    ++number;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const std::size_t comment = line.find('#');
    const std::vector<std::string> words =
        platform::splitArguments(comment == std::string::npos ? line : line.substr(0, comment));
    if (words.empty()) continue;
    const std::string& what = words[0];
    if (what == "drive") {
      SampleDrive drive;
      if (auto problem = parseDrive(words, drive)) return lineFailure(number, *problem);
      for (const SampleDrive& other : out.drives) {
        if (other.letter == drive.letter) return lineFailure(number, "drive given twice");
      }
      out.drives.push_back(drive);
    } else if (what == "default-time" || what == "time") {
      const std::size_t first = what == "time" ? 2 : 1;
      if (words.size() != first + 2) return lineFailure(number, what + " needs a date and a time");
      const auto time = parseSampleTime(words[first], words[first + 1]);
      if (!time) return lineFailure(number, "not a time: " + words[first] + " " + words[first + 1]);
      if (what == "time") {
        out.times.push_back({words[1], *time});
      } else {
        out.defaultTime = time;
      }
    } else if (what == "attributes") {
      if (words.size() < 3) return lineFailure(number, "attributes needs a path and attributes");
      SampleAttributes entry{words[1], 0};
      for (std::size_t i = 2; i < words.size(); ++i) {
        const auto bit = attributeBit(words[i]);
        if (!bit) return lineFailure(number, "unknown attribute " + words[i]);
        entry.attributes |= *bit;
      }
      out.attributes.push_back(entry);
    } else if (what == "share" || what == "printer-connection") {
      std::string name;
      if (auto problem = readShareName(words, name)) return lineFailure(number, *problem);
      (what == "share" ? out.shares : out.printerConnections).push_back(name);
    } else if (what == "printer" || what == "printer-share") {
      platform::PrinterDetails printer;
      const auto problem =
          what == "printer" ? parsePrinter(words, printer) : parsePrinterShare(words, printer);
      if (problem) return lineFailure(number, *problem);
      (what == "printer" ? out.printers : out.sharedPrinters).push_back(printer);
    } else if (what == "driver-catalogue") {
      if (words.size() < 3) return lineFailure(number, "driver-catalogue needs a path and models");
      out.catalogues.push_back(
          {words[1], std::vector<std::string>(words.begin() + 2, words.end())});
    } else {
      return lineFailure(number, "unknown line: " + what);
    }
  }
  return out;
}

}  // namespace simwin
