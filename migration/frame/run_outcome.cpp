#include "frame/run_outcome.h"

#include <ostream>

#include "context/program.h"

namespace migration {

namespace {

// "auto" and "restore" ask for an unattended run even when start-up ended before it could
// begin one (no configuration file): the script that started it still wants to know.
bool unattended(Program& program) {
  return program.session.bAutoMode || program.session.bRestoreMode ||
         program.commandLine() == "auto" || program.commandLine() == "restore";
}

}  // namespace

int FinishRun(Program& program, std::ostream& out) {
  RunLog& log = program.runLog();
  log.end();
  if (unattended(program) && log.used()) {
    for (const std::string& line : log.summary()) out << line << '\n';
  }
  return ExitStatus(program);
}

int ExitStatus(Program& program) {
  const RunLog& log = program.runLog();
  if (log.failures() > 0) return 1;
  return unattended(program) && log.warnings() > 0 ? 1 : 0;
}

}  // namespace migration
