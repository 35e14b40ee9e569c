// File > Save Configuration: the stored defaults, from the configuration and the main window.
#pragma once

namespace migration {

class Program;

// Writes the defaults to HKLM\SOFTWARE\Ostrel\Carrovan from the configuration and the main
// window's options and lists. Writes nothing when the key does not exist.
void SaveDefaults(Program& program);

}  // namespace migration
