// The migration program as Windows runs it from the share: the unattended runs only. The
// window program is built with Qt for Linux; here a run without "auto" or "restore" says so and
// ends with status 2, before it touches the machine.
#include <iostream>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "context/program.h"
#include "forms/headless_ui.h"
#include "frame/run_outcome.h"
#include "frame/start_up.h"
#include "platform/open_machine.h"

namespace {

constexpr const char* kUsage =
    "Usage: migration auto | restore\n"
    "\n"
    "Moves a user's documents and settings from an old Windows workstation to a new one.\n"
    "  auto        the unattended export: captures the settings chosen in CONFIG.MIG into\n"
    "              C:\\migrate\\<user>\\Migration, scans for documents and archives them\n"
    "  restore     the unattended restore of C:\\migrate\\<user>\\Migration\\Master.mig\n"
    "\n"
    "CONFIG.MIG lies in the program's folder (or the one TRANSVALE_PROGRAM_DIR names).\n"
    "A run prints its summary and ends with status 0 when everything was done, 1 when\n"
    "something needs attention (see migrate.log in the migration directory).\n";

constexpr const char* kWindowsNotBuilt =
    "migration: this Windows build has only the unattended runs (\"migration auto\" and\n"
    "\"migration restore\"); the window program is not built for Windows yet.\n";

bool asksForHelp(const std::vector<std::string>& arguments) {
  return arguments.size() == 1 &&
         (arguments[0] == "--help" || arguments[0] == "-h" || arguments[0] == "/?");
}

}  // namespace

int main(int argc, char** argv) {
  // Windows hands the arguments over in the ANSI code page already.
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  if (asksForHelp(arguments)) {
    std::cout << kUsage;
    return 0;
  }
  const std::string commandLine = app::joinCommandLine(arguments);
  if (commandLine != "auto" && commandLine != "restore") {
    std::cerr << kWindowsNotBuilt << "\n" << kUsage;
    return 2;
  }
  auto machine = platform::openMachine();
  if (!machine) {
    std::cerr << "migration: " << machine.subject() << "\n";
    return 1;
  }
  forms::HeadlessUi ui(std::cerr);
  migration::Program program(**machine, ui, commandLine);
  program.runLog().echoAttentionTo(&std::cerr);
  migration::Main(program);
  ui.run();
  return migration::FinishRun(program, std::cout);
}
