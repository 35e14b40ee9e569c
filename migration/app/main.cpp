// The migration program. It works on the machine named by WINEPREFIX; with a display it shows its
// windows, without one it runs headless (messages to standard error). `migration --screenshots
// DIR` renders every window to DIR as PNG instead.
#include <QApplication>
#include <iostream>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/screenshots.h"
#include "app/ui_choice.h"
#include "forms/headless_ui.h"
#include "frame/run_outcome.h"
#include "frame/start_up.h"
#include "context/program.h"
#include "gui/qt_ui.h"
#include "platform/open_machine.h"
#include "platform/text_encoding.h"

namespace {

// Qt reads its own options from the arguments; the program's arguments are not for it.
struct QtArguments {
  explicit QtArguments(char* programName) : values{programName, nullptr} {}
  int count = 1;
  char* values[2];
};

int runWithWindows(platform::Machine& machine, const std::string& commandLine,
                   char* programName) {
  QtArguments arguments(programName);
  QApplication application(arguments.count, arguments.values);
  gui::QtUi ui;
  migration::Program program(machine, ui, commandLine);
  program.runLog().echoAttentionTo(&std::cerr);
  migration::Main(program);
  ui.run();
  // The windows go before the forms they show.
  ui.closeAll();
  return migration::FinishRun(program, std::cout);
}

int runHeadless(platform::Machine& machine, const std::string& commandLine) {
  forms::HeadlessUi ui(std::cerr);
  migration::Program program(machine, ui, commandLine);
  program.runLog().echoAttentionTo(&std::cerr);
  migration::Main(program);
  ui.run();
  return migration::FinishRun(program, std::cout);
}

int takeScreenshots(const std::vector<std::string>& arguments, platform::Machine& machine,
                    char* programName) {
  if (arguments.size() != 2) {
    std::cerr << "usage: migration --screenshots FOLDER\n";
    return 2;
  }
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QtArguments qtArguments(programName);
  QApplication application(qtArguments.count, qtArguments.values);
  return app::takeScreenshots(machine, arguments[1], std::cout);
}

constexpr const char* kUsage =
    "Usage: migration [auto | restore]\n"
    "       migration --screenshots FOLDER\n"
    "       migration --help\n"
    "\n"
    "Moves a user's documents and settings from an old Windows workstation to a new one.\n"
    "  (nothing)   opens the window, or runs headless when no display can show it\n"
    "  auto        the unattended export: captures the settings chosen in CONFIG.MIG into\n"
    "              C:\\migrate\\<user>\\Migration, scans for documents and archives them\n"
    "  restore     the unattended restore of C:\\migrate\\<user>\\Migration\\Master.mig\n"
    "\n"
    "The machine is the Wine-style prefix named by WINEPREFIX (~/.wine when unset); CONFIG.MIG\n"
    "lies in the program's folder: the executable's, or TRANSVALE_PROGRAM_DIR.\n"
    "An unattended run prints its summary and ends with status 0 when everything was done,\n"
    "1 when something needs attention (see migrate.log in the migration directory).\n";

bool asksForHelp(const std::vector<std::string>& arguments) {
  return arguments.size() == 1 &&
         (arguments[0] == "--help" || arguments[0] == "-h" || arguments[0] == "/?");
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> arguments;
  for (int i = 1; i < argc; ++i) arguments.push_back(platform::utf8ToAnsi(argv[i]));
  if (asksForHelp(arguments)) {
    std::cout << kUsage;
    return 0;
  }

  auto machine = platform::openMachine();
  if (!machine) {
    std::cerr << "migration: " << machine.subject() << "\n";
    return 1;
  }
  if (!arguments.empty() && arguments[0] == "--screenshots") {
    return takeScreenshots(arguments, **machine, argv[0]);
  }
  const std::string commandLine = app::joinCommandLine(arguments);
  if (app::chooseUiFromEnvironment() == app::UiKind::Windows) {
    return runWithWindows(**machine, commandLine, argv[0]);
  }
  return runHeadless(**machine, commandLine);
}
