// What a run tells whoever started it. A login script cannot see message boxes; it reads the
// summary on standard output and the exit status: 0 when everything was done, 1 when something
// was passed over that the user would want to know about, or failed.
#pragma once

#include <iosfwd>

namespace migration {

class Program;

// Prints the run log's summary for an unattended run (or a command line asking for one) and
// returns the exit status of the program.
int FinishRun(Program& program, std::ostream& out);

// The exit status the program would end with now, without ending the run.
int ExitStatus(Program& program);

}  // namespace migration
