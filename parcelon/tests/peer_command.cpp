// Running the peers (zip, unzip, python3) from the component's tests: the native build's only,
// since the Windows build's tests run under Wine where the host's programs are out of reach.
#include <stdio.h>
#include <sys/wait.h>

#include <array>

#include "zip_fixture.h"

namespace parcelon::testing {

CommandResult runCommand(const std::string& commandLine) {
  CommandResult result;
  const std::string full = commandLine + " </dev/null 2>&1";
  FILE* pipe = ::popen(full.c_str(), "r");
  if (pipe == nullptr) return result;
  std::array<char, 4096> buffer{};
  std::size_t got = 0;
  while ((got = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0) {
    result.output.append(buffer.data(), got);
  }
  const int status = ::pclose(pipe);
  result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

std::string shellQuote(const std::string& text) {
  std::string quoted = "'";
  for (const char c : text) {
    if (c == '\'') {
      quoted += "'\\''";
    } else {
      quoted += c;
    }
  }
  return quoted + "'";
}

}  // namespace parcelon::testing
