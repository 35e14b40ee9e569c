#include "native_processes.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

#include "command_line.h"
#include "host_status.h"
#include "platform/text_encoding.h"
#include "platform/text_file.h"
#include "reg_import.h"

namespace platform {
namespace {

constexpr std::uint32_t kSucceeded = 0;
constexpr std::uint32_t kFailed = 1;

bool isSwitch(const std::string& argument) {
  return !argument.empty() && (argument[0] == '/' || argument[0] == '-');
}

}  // namespace

NativeProcesses::NativeProcesses(std::filesystem::path machineRoot, FileSystem& files,
                                 Registry& registry)
    : m_root(std::move(machineRoot)), m_files(files), m_registry(registry) {
  // Each built-in program is one line here and one method; the machine adds the printer ones.
  m_programs["regedit"] = [this](const std::string& text) {
    return runRegedit(splitArguments(text));
  };
  m_programs["net"] = [](const std::string& text) { return runNet(splitArguments(text)); };
}

void NativeProcesses::addProgram(const std::string& name, Program program) {
  m_programs[name] = std::move(program);
}

Status NativeProcesses::log(const std::string& commandLine) const {
  std::string line = ansiToUtf8(commandLine);
  for (char& c : line) {
    if (c == '\r' || c == '\n') c = ' ';  // one command, one line
  }
  line += '\n';
  const std::filesystem::path path = m_root / kLogName;
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0666);
  if (fd < 0) return statusFromErrno(errno);
  const ssize_t written = ::write(fd, line.data(), line.size());
  const int closed = ::close(fd);
  return written == static_cast<ssize_t>(line.size()) && closed == 0 ? ERROR_SUCCESS
                                                                     : ERROR_WRITE_FAULT;
}

Result<ProcessOutcome> NativeProcesses::start(const std::string& commandLine, WindowStyle,
                                              Wait wait) {
  // NOTE: the log is a record for people and tests; a machine root we cannot write to must
  // not stop the program being started.
  ignoreFailure(log(commandLine), "the command log could not be written");
  const CommandLine parsed = parseCommandLine(commandLine);
  const auto program = m_programs.find(parsed.name);
  if (program == m_programs.end()) {
    return Result<ProcessOutcome>::failure(ERROR_FILE_NOT_FOUND, parsed.program);
  }
  const std::uint32_t exitCode = program->second(parsed.arguments);
  ProcessOutcome outcome;
  if (wait == Wait::Yes) outcome.exitCode = exitCode;
  return outcome;
}

// regedit [/s] FILE imports FILE; without /s the real editor would ask first, which an
// unattended machine answers with yes. Other switches (exports) are not built in.
std::uint32_t NativeProcesses::runRegedit(const std::vector<std::string>& arguments) {
  std::string file;
  for (const std::string& argument : arguments) {
    if (!isSwitch(argument)) {
      if (file.empty()) file = argument;
    } else if (ansiToUpper(argument.substr(1)) != "S") {
      return kFailed;
    }
  }
  if (file.empty()) return kFailed;
  auto bytes = readWholeFile(m_files, file);
  if (!bytes) return kFailed;
  const bool imported = importRegFile(m_registry, *bytes).imported;
  // The editor is a process of its own: what it imported is on disk when it ends.
  for (const HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
    ignoreFailure(m_registry.RegFlushKey(root), "the registry could not be written back after an import");
  }
  return imported ? kSucceeded : kFailed;
}

// Every Windows has net.exe. The simulated machine keeps no local groups, so "net localgroup"
// does what it is asked; the other commands (use, start, ...) have their own simulations or none.
std::uint32_t NativeProcesses::runNet(const std::vector<std::string>& arguments) {
  return !arguments.empty() && ansiToUpper(arguments[0]) == "LOCALGROUP" ? kSucceeded : kFailed;
}

}  // namespace platform
