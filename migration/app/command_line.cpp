#include "app/command_line.h"

namespace app {

namespace {

bool needsQuotes(const std::string& argument) {
  return argument.empty() || argument.find_first_of(" \t\"") != std::string::npos;
}

// Windows' rules: backslashes are literal unless they come before a quote, where they are
// doubled; a quote is escaped with a backslash.
std::string quoted(const std::string& argument) {
  std::string out = "\"";
  std::size_t backslashes = 0;
  for (const char c : argument) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    if (c == '"') {
      out.append(backslashes * 2 + 1, '\\');
    } else {
      out.append(backslashes, '\\');
    }
    backslashes = 0;
    out += c;
  }
  out.append(backslashes * 2, '\\');
  return out + "\"";
}

}  // namespace

std::string joinCommandLine(const std::vector<std::string>& arguments) {
  std::string line;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    if (i > 0) line += ' ';
    line += needsQuotes(arguments[i]) ? quoted(arguments[i]) : arguments[i];
  }
  return line;
}

}  // namespace app
