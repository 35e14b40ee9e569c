// A command line taken apart the way CreateProcess and the programs themselves do it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace platform {

struct CommandLine {
  std::string program;    // as written, without its quotes: "C:\WINNT\regedit.exe"
  std::string name;       // the program's file name in lower case without ".exe": "regedit"
  std::string arguments;  // the rest, leading blanks removed
};

// The program is the first word, or the text between the first pair of double quotes.
CommandLine parseCommandLine(std::string_view line);

// Splits arguments at blanks; double quotes group blanks into one argument and are removed.
std::vector<std::string> splitArguments(std::string_view arguments);

}  // namespace platform
