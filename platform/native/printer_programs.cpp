#include "printer_programs.h"

#include <optional>
#include <vector>

#include "command_line.h"
#include "driver_catalogue.h"
#include "platform/text_file.h"

namespace platform {
namespace {

constexpr std::uint32_t kSucceeded = 0;
constexpr std::uint32_t kFailed = 1;

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string lowerAscii(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

// "rundll32 DLL,ENTRY ARGUMENTS": the library up to the comma, the entry point after it (blanks
// may follow the comma), and the rest for the entry point.
struct LibraryCall {
  std::string library;  // file name in lower case without ".dll"
  std::string entry;
  std::string arguments;
};

std::optional<LibraryCall> parseLibraryCall(const std::string& text) {
  const std::size_t comma = text.find(',');
  if (comma == std::string::npos) return std::nullopt;
  std::string library = text.substr(0, comma);
  while (!library.empty() && isBlank(library.back())) library.pop_back();
  if (library.size() >= 2 && library.front() == '"' && library.back() == '"') {
    library = library.substr(1, library.size() - 2);
  }
  library = lowerAscii(library.substr(library.find_last_of("\\/") + 1));
  if (library.size() > 4 && library.ends_with(".dll")) library.resize(library.size() - 4);

  std::size_t at = comma + 1;
  while (at < text.size() && isBlank(text[at])) ++at;
  const std::size_t end = std::min(text.find_first_of(" \t", at), text.size());
  LibraryCall call{library, text.substr(at, end - at), {}};
  at = end;
  while (at < text.size() && isBlank(text[at])) ++at;
  call.arguments = text.substr(at);
  return call;
}

// What PrintUIEntry was asked to do.
struct PrintUIRequest {
  bool install = false;  // /if
  std::string name;      // /b
  std::string inf;       // /f
  std::string port;      // /r
  std::string model;     // /m
};

// Switches that only change how PrintUIEntry talks to the user or picks a driver it already has.
bool isQuietFlag(const std::string& word) {
  return word == "/q" || word == "/u" || word == "/z" || word == "/Z" || word == "/Y";
}

// The switches are case-sensitive, as PrintUIEntry reads them. A value follows its switch, or is
// joined to it (/b"Name").
std::optional<PrintUIRequest> parsePrintUI(const std::vector<std::string>& words) {
  PrintUIRequest request;
  for (std::size_t i = 0; i < words.size(); ++i) {
    const std::string& word = words[i];
    if (word == "/if") {
      request.install = true;
      continue;
    }
    if (isQuietFlag(word)) continue;
    std::string* value = nullptr;
    if (word.size() >= 2 && word[0] == '/') {
      switch (word[1]) {
        case 'b':
          value = &request.name;
          break;
        case 'f':
          value = &request.inf;
          break;
        case 'r':
          value = &request.port;
          break;
        case 'm':
          value = &request.model;
          break;
        default:
          break;
      }
    }
    if (value == nullptr) return std::nullopt;  // an operation or word not built in
    if (word.size() > 2) {
      *value = word.substr(2);
    } else if (i + 1 < words.size()) {
      *value = words[++i];
    } else {
      return std::nullopt;
    }
  }
  return request;
}

}  // namespace

PrinterPrograms::PrinterPrograms(NativePrinters& printers, FileSystem& files, Registry& registry)
    : m_printers(printers), m_files(files), m_registry(registry) {}

void PrinterPrograms::installInto(NativeProcesses& processes) {
  processes.addProgram("con2prt", [this](const std::string& text) { return runCon2prt(text); });
  processes.addProgram("rundll32", [this](const std::string& text) { return runRundll32(text); });
}

void PrinterPrograms::writeThrough() {
  for (const HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
    // A hive that cannot be written keeps its changes for the next flush; the program's own
    // exit code already says what it did.
    ignoreFailure(m_registry.RegFlushKey(root), "writing the registry back after a printer program");
  }
}

std::uint32_t PrinterPrograms::runCon2prt(const std::string& arguments) {
  enum class Step { Connect, RemoveAll };
  std::vector<std::pair<Step, std::string>> steps;
  const std::vector<std::string> words = splitArguments(arguments);
  for (std::size_t i = 0; i < words.size(); ++i) {
    const std::string word = lowerAscii(words[i]);
    if ((word == "/c" || word == "/cd") && i + 1 < words.size()) {
      // FIXME: /cd also makes the printer the default one; the machine keeps no default printer.
      steps.emplace_back(Step::Connect, words[++i]);
    } else if (word == "/f") {
      steps.emplace_back(Step::RemoveAll, std::string());
    } else {
      return kFailed;  // the real program shows its usage and does nothing
    }
  }
  if (steps.empty()) return kFailed;
  bool failed = false;
  for (const auto& [step, printer] : steps) {
    const Status status =
        step == Step::Connect ? m_printers.addConnection(printer) : m_printers.removeConnections();
    failed = failed || status.failed();
  }
  writeThrough();
  return failed ? kFailed : kSucceeded;
}

std::uint32_t PrinterPrograms::runRundll32(const std::string& arguments) {
  const auto call = parseLibraryCall(arguments);
  // GetProcAddress finds entry points by their exact name.
  if (!call || call->library != "printui" || call->entry != "PrintUIEntry") return kFailed;
  return runPrintUIEntry(call->arguments);
}

std::uint32_t PrinterPrograms::runPrintUIEntry(const std::string& arguments) {
  const auto request = parsePrintUI(splitArguments(arguments));
  if (!request || !request->install || request->name.empty() || request->inf.empty() ||
      request->port.empty() || request->model.empty()) {
    return kFailed;
  }
  const auto inf = readWholeFile(m_files, request->inf);
  if (!inf) return kFailed;
  const auto model = findCatalogueModel(*inf, request->model);
  if (!model) return kFailed;
  PrinterDetails printer;
  printer.name = request->name;
  printer.driver = *model;
  printer.port = request->port;
  const Status status = m_printers.addLocalPrinter(printer);
  writeThrough();
  return status.ok() ? kSucceeded : kFailed;
}

}  // namespace platform
