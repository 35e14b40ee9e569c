#include "command_line.h"

#include <cctype>
#include "platform/blanks.h"

namespace platform {
namespace {

std::string lowerAscii(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

std::string nameOf(const std::string& program) {
  const std::size_t slash = program.find_last_of("\\/");
  std::string name = lowerAscii(slash == std::string::npos ? program : program.substr(slash + 1));
  constexpr std::string_view kExe = ".exe";
  if (name.size() > kExe.size() &&
      name.compare(name.size() - kExe.size(), kExe.size(), kExe) == 0) {
    name.erase(name.size() - kExe.size());
  }
  return name;
}

}  // namespace

CommandLine parseCommandLine(std::string_view line) {
  std::size_t pos = 0;
  while (pos < line.size() && isBlank(line[pos])) ++pos;
  CommandLine out;
  if (pos < line.size() && line[pos] == '"') {
    const std::size_t close = line.find('"', pos + 1);
    const std::size_t end = close == std::string_view::npos ? line.size() : close;
    out.program = std::string(line.substr(pos + 1, end - pos - 1));
    pos = close == std::string_view::npos ? line.size() : close + 1;
  } else {
    const std::size_t start = pos;
    while (pos < line.size() && !isBlank(line[pos])) ++pos;
    out.program = std::string(line.substr(start, pos - start));
  }
  while (pos < line.size() && isBlank(line[pos])) ++pos;
  out.arguments = std::string(line.substr(pos));
  out.name = nameOf(out.program);
  return out;
}

std::vector<std::string> splitArguments(std::string_view arguments) {
  std::vector<std::string> out;
  std::string current;
  bool quoted = false;
  bool started = false;
  for (char c : arguments) {
    if (c == '"') {
      quoted = !quoted;
      started = true;
    } else if (isBlank(c) && !quoted) {
      if (started) out.push_back(current);
      current.clear();
      started = false;
    } else {
      current += c;
      started = true;
    }
  }
  if (started) out.push_back(current);
  return out;
}

}  // namespace platform
