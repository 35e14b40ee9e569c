// scenario-run: plays scenario files against the program on a machine built from text and
// compares what a user would see with what the scenario expects. See README.md.
#include <algorithm>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "scenario_checker.h"
#include "scenario_file.h"
#include "scenario_machine.h"
#include "scenario_player.h"
#include "text_diff.h"

namespace {

constexpr int kPassed = 0;
constexpr int kFailed = 1;
constexpr int kBroken = 2;
constexpr int kNativeOnly = 3;

struct Options {
  bool printActual = false;
  bool keepMachine = false;
  std::vector<std::string> files;
};

void printUsage(std::ostream& out) {
  out << "usage: scenario-run [--print-actual] [--keep] FILE.scenario...\n"
         "  Plays each scenario and compares its [expect] lines with the outcome.\n"
         "  --print-actual  prints the actual lines in place of the expected ones\n"
         "  --keep          leaves each machine root in the temporary folder\n"
         "Exit status: 0 all passed, 1 a scenario's outcome differs, 2 a scenario cannot run,\n"
         "3 a scenario's machine is the simulated machine's alone (the Windows build).\n";
}

int runScenario(const std::string& path, const Options& options) {
  scenario::ScenarioFile file;
  std::string error;
  if (!scenario::readScenarioFile(path, file, error)) {
    std::cerr << path << ": " << error << "\n";
    return kBroken;
  }
  scenario::MachineProblem problem;
  const auto machine = scenario::buildScenarioMachine(file.machine, problem);
  if (!machine) {
    std::cerr << path << ": " << problem.text << "\n";
    return problem.nativeOnly ? kNativeOnly : kBroken;
  }
  if (options.keepMachine) std::cerr << path << ": " << machine->keep() << "\n";
  scenario::ScenarioPlayer player(machine->machine());
  scenario::ScenarioChecker checker(*machine, player);
  if (file.steps.empty()) file.steps.emplace_back();
  std::vector<std::string> expected, locations, actual;
  for (const scenario::ScenarioStep& step : file.steps) {
    if (!player.play(step.actions, error)) {
      std::cerr << path << ": " << error << "\n";
      return kBroken;
    }
    const std::vector<std::string> lines = checker.actualLines(step.expect);
    actual.insert(actual.end(), lines.begin(), lines.end());
    for (const auto& line : step.expect) {
      expected.push_back(line.text);
      locations.push_back(line.location);
    }
  }
  for (const std::string& unreached : player.ui().unreachedEventActions()) {
    std::cerr << path << ": " << unreached << ": the program never reached that event\n";
    return kBroken;
  }
  // An answer nobody asked for means a message box the scenario counted on never came.
  if (const std::size_t unused = player.ui().pendingAnswers(); unused > 0) {
    std::cerr << path << ": " << unused << " answer(s) left over: no message box asked for them\n";
    return kBroken;
  }
  if (options.printActual) {
    for (const std::string& line : actual) std::cout << line << "\n";
    return kPassed;
  }
  const std::string diff = scenario::formatDiff(scenario::diffLines(expected, locations, actual));
  if (diff.empty()) return kPassed;
  std::cout << path << ": the outcome differs (- expected, + actual)\n" << diff;
  return kFailed;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--print-actual") == 0) {
      options.printActual = true;
    } else if (std::strcmp(argv[i], "--keep") == 0) {
      options.keepMachine = true;
    } else if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
      printUsage(std::cout);
      return kPassed;
    } else {
      options.files.emplace_back(argv[i]);
    }
  }
  if (options.files.empty()) {
    printUsage(std::cerr);
    return kBroken;
  }
  // A scenario that failed outweighs one left to the native suite.
  int worst = kPassed;
  bool nativeOnly = false;
  for (const std::string& file : options.files) {
    const int result = runScenario(file, options);
    if (result == kNativeOnly) {
      nativeOnly = true;
    } else {
      worst = std::max(worst, result);
    }
  }
  return worst == kPassed && nativeOnly ? kNativeOnly : worst;
}
