#include "machine_commands.h"

#include <time.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <map>

#include "file_time.h"
#include "platform/text_encoding.h"
#include "windows_path.h"

namespace simwin {
namespace {

using namespace platform;

constexpr int kDone = 0;
constexpr int kFailed = 1;
constexpr int kUsage = 2;

// The machine's text is ANSI; a terminal wants UTF-8.
std::string shown(const std::string& ansi) { return ansiToUtf8(ansi); }
std::string taken(const std::string& utf8) { return utf8ToAnsi(utf8); }

std::string withThousands(std::uint64_t value) {
  std::string digits = std::to_string(value);
  for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3) digits.insert(at, ",");
  return digits;
}

const char* typeName(DriveType type) {
  switch (type) {
    case DriveType::Removable:
      return "removable";
    case DriveType::Fixed:
      return "fixed";
    case DriveType::Remote:
      return "remote";
    case DriveType::CdRom:
      return "cdrom";
    case DriveType::RamDisk:
      return "ramdisk";
    case DriveType::NoRootDirectory:
      return "none";
    case DriveType::Unknown:
      break;
  }
  return "unknown";
}

std::string padded(std::string text, std::size_t width) {
  if (text.size() < width) text.append(width - text.size(), ' ');
  return text;
}

// The folder and the pattern to list: a folder lists whole, a wildcard or a file name filters.
std::pair<std::string, std::string> listingOf(FileSystem& files, const std::string& path) {
  if (files.folderExists(path)) return {path, "*"};
  auto [folder, pattern] = splitLastName(path);
  if (folder.empty()) folder = files.currentDirectory();
  return {folder, pattern};
}

}  // namespace

std::string describeStatus(Status status) {
  const std::map<Status, const char*> meanings = {
      {ERROR_FILE_NOT_FOUND, "the file is not found"},
      {ERROR_PATH_NOT_FOUND, "the path is not found"},
      {ERROR_ACCESS_DENIED, "access is denied"},
      {ERROR_INVALID_DRIVE, "no such drive"},
      {ERROR_NOT_READY, "the drive is not ready"},
      {ERROR_BAD_NETPATH, "the network path is not found"},
      {ERROR_FILE_EXISTS, "the file exists"},
      {ERROR_INVALID_NAME, "the name holds a character Windows forbids"},
      {ERROR_BAD_PATHNAME, "the path is malformed"},
      {ERROR_ALREADY_EXISTS, "it already exists"},
      {ERROR_BAD_NET_NAME, "the network name is not found"},
      {ERROR_BAD_DEV_TYPE, "the network resource type is not correct"},
      {ERROR_ALREADY_ASSIGNED, "the local device name is already in use"},
      {ERROR_BAD_DEVICE, "the device name is not valid"},
      {ERROR_DEVICE_ALREADY_REMEMBERED, "the profile already remembers that device"},
      {ERROR_BAD_PROVIDER, "no such network provider"},
      {ERROR_INVALID_PRINTER_NAME, "the printer name is not valid"},
      {ERROR_PRINTER_ALREADY_EXISTS, "the printer already exists"},
  };
  const auto found = meanings.find(status);
  const std::string text = "error " + platform::toString(status);
  return found == meanings.end() ? text : text + " (" + found->second + ")";
}

std::string formatFileTime(FileTime time) {
  const time_t seconds = timespecFromFileTime(time).tv_sec;
  tm parts{};
  ::gmtime_r(&seconds, &parts);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", &parts);
  return text;
}

std::string formatAttributes(std::uint32_t attributes) {
  std::string out = "------";
  const std::pair<std::uint32_t, char> letters[] = {
      {FILE_ATTRIBUTE_READONLY, 'R'},  {FILE_ATTRIBUTE_HIDDEN, 'H'},  {FILE_ATTRIBUTE_SYSTEM, 'S'},
      {FILE_ATTRIBUTE_DIRECTORY, 'D'}, {FILE_ATTRIBUTE_ARCHIVE, 'A'},
  };
  for (std::size_t i = 0; i < std::size(letters); ++i) {
    if (attributes & letters[i].first) out[i] = letters[i].second;
  }
  out.pop_back();
  return out;
}

int runDirCommand(Machine& machine, const Arguments& args, std::ostream& out, std::ostream& err) {
  if (args.size() > 1) {
    err << "usage: simwin dir [PATH]\n";
    return kUsage;
  }
  FileSystem& files = machine.files();
  const std::string path = args.empty() ? files.currentDirectory() : taken(args[0]);
  const auto [folder, pattern] = listingOf(files, path);
  auto entries = files.listFolder(folder, pattern);
  if (!entries) {
    err << "simwin dir: " << shown(path) << ": " << describeStatus(entries.status()) << "\n";
    return kFailed;
  }
  // As Windows' dir: a name or pattern that matches nothing is no empty listing of its folder.
  if (entries->empty() && pattern != "*") {
    err << "simwin dir: " << shown(path) << ": File Not Found\n";
    return kFailed;
  }
  const std::string full = files.fullPath(folder).valueOr(folder);
  out << " Directory of " << shown(full) << "\n\n";
  std::uint64_t fileCount = 0, folderCount = 0, bytes = 0;
  for (const DirectoryEntry& entry : *entries) {
    const bool isFolder = entry.attributes & FILE_ATTRIBUTE_DIRECTORY;
    const std::string size = isFolder ? "<DIR>" : withThousands(entry.size);
    out << formatFileTime(entry.lastWrite) << "  "
        << std::string(14 - std::min<std::size_t>(14, size.size()), ' ') << size << "  "
        << formatAttributes(entry.attributes) << "  " << shown(entry.name) << "\n";
    if (isFolder) {
      ++folderCount;
    } else {
      ++fileCount;
      bytes += entry.size;
    }
  }
  out << "\n"
      << fileCount << " file(s), " << withThousands(bytes) << " bytes; " << folderCount
      << " folder(s)\n";
  return kDone;
}

int runDrivesCommand(Machine& machine, const Arguments& args, std::ostream& out,
                     std::ostream& err) {
  if (!args.empty()) {
    err << "usage: simwin drives\n";
    return kUsage;
  }
  out << "Drive  Type       Ready  Label        Share\n";
  for (const DriveInfo& drive : machine.files().drives()) {
    std::string line = std::string(1, drive.letter) + ":     " + padded(typeName(drive.type), 11) +
                       padded(drive.ready ? "yes" : "no", 7) + padded(shown(drive.label), 13) +
                       shown(drive.remotePath);
    line.erase(line.find_last_not_of(' ') + 1);
    out << line << "\n";
  }
  return kDone;
}

int runEnvCommand(Machine& machine, const Arguments& args, std::ostream& out, std::ostream& err) {
  Environment& environment = machine.environment();
  if (args.size() == 1) {
    const auto value = environment.variable(taken(args[0]));
    if (!value) {
      err << "simwin env: " << args[0] << " is not set\n";
      return kFailed;
    }
    out << shown(*value) << "\n";
    return kDone;
  }
  if (!args.empty()) {
    err << "usage: simwin env [NAME]\n";
    return kUsage;
  }
  // Sorted as Windows' `set` shows them: by name without regard to case.
  std::map<std::string, std::string, decltype(&ansiLessNoCase)> sorted(&ansiLessNoCase);
  for (const auto& [name, value] : environment.variables()) sorted[name] = value;
  for (const auto& [name, value] : sorted) out << shown(name) << "=" << shown(value) << "\n";
  return kDone;
}

int runUserCommand(Machine& machine, const Arguments& args, std::ostream& out, std::ostream& err) {
  if (!args.empty()) {
    err << "usage: simwin user\n";
    return kUsage;
  }
  auto name = machine.environment().userName();
  if (!name) {
    err << "simwin user: the machine names no user: " << describeStatus(name.status()) << "\n";
    return kFailed;
  }
  out << shown(*name) << "\n";
  return kDone;
}

int runRunCommand(Machine& machine, const Arguments& args, std::ostream& out, std::ostream& err) {
  if (args.empty()) {
    err << "usage: simwin run COMMANDLINE\n";
    return kUsage;
  }
  // One word is the whole command line; several are joined, a word with blanks in quotes.
  std::string line;
  for (const std::string& word : args) {
    const bool quote = args.size() > 1 && word.find_first_of(" \t") != std::string::npos;
    line += (line.empty() ? "" : " ") + (quote ? "\"" + taken(word) + "\"" : taken(word));
  }
  auto outcome = machine.processes().start(line, WindowStyle::Hidden, Wait::Yes);
  if (!outcome) {
    err << "simwin run: cannot start " << shown(outcome.subject()) << ": "
        << describeStatus(outcome.status()) << "\n";
    return kFailed;
  }
  out << "exit code " << outcome->exitCode << "\n";
  return kDone;
}

}  // namespace simwin
