// The program's command line as Windows hands it over: the argument text after the program name.
#pragma once

#include <string>
#include <vector>

namespace app {

// Joins arguments with single blanks, quoting those that hold blanks or quotes or are empty, so
// that Windows would split the text into the same arguments again.
std::string joinCommandLine(const std::vector<std::string>& arguments);

}  // namespace app
