#include "net_command.h"

#include <map>
#include <optional>

#include "machine_commands.h"
#include "platform/network.h"
#include "platform/text_encoding.h"
#include "registry_values.h"

namespace simwin {
namespace {

using namespace platform;

struct Connection {
  std::string status;  // as net use says it: OK, Disconnected, Unavailable
  std::string remote;
  bool remembered = false;
};

std::string padded(std::string text, std::size_t width) {
  if (text.size() < width) text.append(width - text.size(), ' ');
  return text;
}

std::map<char, Connection> connections(Machine& machine) {
  std::map<char, Connection> out;
  for (const DriveInfo& drive : machine.files().drives()) {
    if (drive.remotePath.empty()) continue;
    out[drive.letter] = {drive.ready ? "OK" : "Disconnected", drive.remotePath, false};
  }
  Registry& registry = machine.registry();
  for (const std::string& name : subKeyNames(registry, HKEY_CURRENT_USER, "Network")) {
    if (name.size() != 1) continue;
    const char letter = ansiToUpper(name[0]);
    Connection& connection = out[letter];
    connection.remembered = true;
    if (connection.status.empty()) {
      connection.status = "Unavailable";
      connection.remote =
          readStringValue(registry, HKEY_CURRENT_USER, "Network\\" + name, "RemotePath")
              .value_or("");
    }
  }
  return out;
}

int show(Machine& machine, std::ostream& out) {
  const std::map<char, Connection> all = connections(machine);
  if (all.empty()) {
    out << "There are no entries in the list.\n";
    return 0;
  }
  out << "Status       Local  Remote                          Remembered\n";
  for (const auto& [letter, connection] : all) {
    out << padded(connection.status, 13) << letter << ":     "
        << padded(ansiToUtf8(connection.remote), 32) << (connection.remembered ? "yes" : "no")
        << "\n";
  }
  return 0;
}

std::optional<bool> persistence(const std::string& word) {
  const std::string upper = ansiToUpper(word);
  if (upper == "/PERSISTENT:YES") return true;
  if (upper == "/PERSISTENT:NO") return false;
  return std::nullopt;
}

int mapLetter(Machine& machine, const std::vector<std::string>& args, bool persistent,
              std::ostream& out, std::ostream& err) {
  const std::string local = utf8ToAnsi(args[1]);
  const std::string remote = utf8ToAnsi(args[2]);
  NETRESOURCEA resource;
  resource.dwType = RESOURCETYPE_DISK;
  resource.lpLocalName = local.c_str();
  resource.lpRemoteName = remote.c_str();
  const Status status = machine.network().WNetAddConnection2A(
      &resource, nullptr, nullptr, persistent ? CONNECT_UPDATE_PROFILE : 0);
  if (status.failed()) {
    err << "simwin net use: " << args[1] << " " << args[2] << ": " << describeStatus(status)
        << "\n";
    return 1;
  }
  out << "The command completed successfully.\n";
  return 0;
}

}  // namespace

int runNetCommand(Machine& machine, const std::vector<std::string>& args, std::ostream& out,
                  std::ostream& err) {
  const bool use = !args.empty() && ansiToUpper(args[0]) == "USE";
  if (use && args.size() == 1) return show(machine, out);
  if (use && args.size() == 3) return mapLetter(machine, args, true, out, err);
  if (use && args.size() == 4) {
    if (const auto persistent = persistence(args[3])) {
      return mapLetter(machine, args, *persistent, out, err);
    }
  }
  err << "usage: simwin net use [X: \\\\server\\share [/persistent:yes|no]]\n";
  return 2;
}

}  // namespace simwin
