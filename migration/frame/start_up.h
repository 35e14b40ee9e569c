// Start-up: whose user state is migrated, on which Windows, from which program directory and in
// which mode; then the main window, shown or, in an unattended run, loaded hidden.
#pragma once

namespace migration {

class Program;

// The program's entry point. Sets the session context, loads the configuration and loads the
// main window; returns at once when the program is to end without a window.
void Main(Program& program);

}  // namespace migration
