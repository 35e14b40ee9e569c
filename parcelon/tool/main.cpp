// parcelon-tool: drives the zip component from the command line, on the machine in WINEPREFIX.
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "platform/open_machine.h"
#include "method_runner.h"
#include "parcelon/parcelon.h"
#include "platform/clock.h"

namespace {

const char* const kHelp =
    R"(Usage: parcelon-tool [--status] METHOD [ARGUMENT...] [METHOD [ARGUMENT...]]...
       parcelon-tool --register | --unregister

Runs the zip component's methods one after the other on one control, on the machine in
WINEPREFIX (~/.wine when unset), and prints each result as "Method: result". Paths are Windows
paths on that machine; the host's files are on drive Z: ('Z:\tmp\a.zip' is /tmp/a.zip).

Methods and their arguments (names without regard to case):
  OpenZip file                      CreateZip Filename comment          Close
  FileCount                         Filename rec        FileSize rec    FileSizeZ rec
  FileDate rec                      FileComment rec     IsCrypted rec
  ExtractFile name path passwd      AddFile Filename comment bSavePath passwd
  RemoveFile Filename               AboutBox
rec counts entries from 0; bSavePath is 0 or 1 (or False/True); an empty passwd is ''.

Options:
  --status      print each Status event as "Status: name progress"
  --register    register the component in the machine's HKEY_CLASSES_ROOT
  --unregister  remove that registration
  --help        show this text

Exit status: 0 when every method ran; 1 when a method raised an error, printed as
"error NUMBER: TEXT" (later methods do not run); 2 for a usage error; 3 when the machine cannot
be opened or the registration fails.

Example:
  parcelon-tool CreateZip 'Z:\tmp\a.zip' 'note' AddFile 'Z:\tmp\x.txt' '' 0 '' Close
)";

void showAboutBox(void*, const char* title, const char* text, const char* button) {
  std::cout << title << ": " << text << " [" << button << "]\n";
}

int registration(platform::Machine& machine, bool registering) {
  ParcelonHost host{};
  host.size = sizeof host;
  host.machine = &machine;
  const ParcelonHresult result =
      registering ? ParcelonRegisterServerOn(&host) : ParcelonUnregisterServerOn(&host);
  if (result != PARCELON_S_OK) {
    std::cerr << "parcelon-tool: " << (registering ? "registration" : "unregistration")
              << " failed (0x" << std::hex << static_cast<std::uint32_t>(result) << ")\n";
    return 3;
  }
  std::cout << (registering ? "registered " : "unregistered ") << PARCELON_PROGID << "\n";
  return 0;
}

int runMethods(platform::Machine& machine, const std::vector<std::string>& words,
               parcelon::tool::ShowStatus showStatus) {
  ParcelonHost host{};
  host.size = sizeof host;
  host.machine = &machine;
  host.showAboutBox = &showAboutBox;
  const ParcelonGuid classId = PARCELON_CLSID;
  ParcelonClassFactory* factory = nullptr;
  ParcelonControl* control = nullptr;
  if (DllGetClassObject(&classId, &factory) != PARCELON_S_OK ||
      ParcelonFactoryCreateInstance(factory, &host, &control) != PARCELON_S_OK) {
    std::cerr << "parcelon-tool: cannot create the control\n";
    if (factory) ParcelonFactoryRelease(factory);
    return 3;
  }
  ParcelonFactoryRelease(factory);
  const int status =
      parcelon::tool::MethodRunner(control, std::cout, std::cerr).run(words, showStatus);
  ParcelonControlRelease(control);
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> words(argv + 1, argv + argc);
  auto showStatus = parcelon::tool::ShowStatus::No;
  enum class Action { Run, Register, Unregister } action = Action::Run;
  while (!words.empty() && words.front().rfind("--", 0) == 0) {
    const std::string option = words.front();
    words.erase(words.begin());
    if (option == "--help") {
      std::cout << kHelp;
      return 0;
    } else if (option == "--status") {
      showStatus = parcelon::tool::ShowStatus::Yes;
    } else if (option == "--register") {
      action = Action::Register;
    } else if (option == "--unregister") {
      action = Action::Unregister;
    } else {
      std::cerr << "parcelon-tool: unknown option " << option << " (see --help)\n";
      return 2;
    }
  }
  if (action == Action::Run && words.empty()) {
    std::cerr << kHelp;
    return 2;
  }
  auto machine = platform::openMachine();
  if (!machine) {
    std::cerr << "parcelon-tool: " << machine.subject() << "\n";
    return 3;
  }
  if (action != Action::Run) return registration(**machine, action == Action::Register);
  return runMethods(**machine, words, showStatus);
}
