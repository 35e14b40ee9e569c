// simwin: materialise sample machines and look at a simulated Windows machine the way the
// program sees it.
#include <cstring>
#include <iostream>
#include <map>
#include <string>
#include <vector>

#include "machine_commands.h"
#include "materialise_command.h"
#include "net_command.h"
#include "platform/open_machine.h"
#include "platform/clock.h"
#include "printers_command.h"
#include "reg_command.h"

namespace {

constexpr const char* kHelp = R"(usage: simwin COMMAND [ARGUMENTS]

Works with a simulated Windows machine: a folder laid out as a Wine prefix (dosdevices/ links
for the drives, system.reg and user.reg for the registry). Every command except materialise
works on the machine named by WINEPREFIX (~/.wine when unset) and refuses one that a running
Wine server holds. Paths are Windows paths: C:\Data, c:/data, \\server\share\x.

commands:
  materialise [--share \\SERVER\SHARE=FOLDER]... SAMPLE_DIR DEST
                                make a machine in DEST from a sample (samples/<name>); DEST must
                                be missing, empty, or a machine simwin made (it is replaced).
                                Each --share makes that share of the machine the host FOLDER
                                (which must exist), so that machines made with the same one
                                see one and the same share
  dir [PATH]                    list a folder (or the files a wildcard matches): last write
                                time (UTC), size, attributes (R read-only, H hidden, S system,
                                D directory, A archive) and name
  drives                        every drive with its type, readiness, label and share
  env [NAME]                    the environment the program sees, or one variable's value
  user                          the logged-on user (GetUserNameA)
  run COMMANDLINE               start a program as the program would (regedit /s FILE,
                                con2prt /c \\server\share and rundll32 printui.dll,
                                PrintUIEntry /if ... are built in; others fail as missing)
                                and print its exit code
  printers                      what EnumPrintersA gives (local printers and connections),
                                then the printer list (device name = printer value)
  net use [X: \\server\share [/persistent:yes|no]]
                                the letters mapped to shares and the mappings the profile
                                remembers; or map a letter (WNetAddConnection2A)
  reg query KEY [/v NAME | /ve] the key's values and sub-keys as Windows' reg shows them
                                (KEY starts with HKLM, HKCU, HKCR, HKU or HKCC)
  reg import FILE               import a .reg file (a host path or a Windows path)
  help                          this text

exit status: 0 done, 1 failed, 2 bad usage.
examples:
  simwin materialise samples/old-win2000 build/machines/old-win2000
  simwin materialise --share '\\fileserver\migrate=/srv/migrate' samples/new-win2000 /tmp/new
  WINEPREFIX=build/machines/old-win2000 simwin dir "C:\Documents and Settings\jsmith\My Documents"
  WINEPREFIX=build/machines/old-win2000 simwin reg query "HKCU\Control Panel\Desktop" /v Wallpaper
)";

using Command = int (*)(platform::Machine&, const simwin::Arguments&, std::ostream&, std::ostream&);

int onMachine(Command command, const simwin::Arguments& args) {
  auto machine = platform::openMachine();
  if (!machine) {
    std::cerr << "simwin: " << machine.subject() << "\n";
    return 1;
  }
  return command(**machine, args, std::cout, std::cerr);
}

}  // namespace

int main(int argc, char** argv) {
  const std::map<std::string, Command> commands = {
      {"dir", simwin::runDirCommand}, {"drives", simwin::runDrivesCommand},
      {"env", simwin::runEnvCommand}, {"user", simwin::runUserCommand},
      {"run", simwin::runRunCommand}, {"reg", simwin::runRegCommand},
      {"printers", simwin::runPrintersCommand}, {"net", simwin::runNetCommand},
  };
  if (argc < 2) {
    std::cerr << kHelp;
    return 2;
  }
  const std::string name = argv[1];
  const simwin::Arguments args(argv + 2, argv + argc);
  if (name == "help" || name == "--help" || name == "-h") {
    std::cout << kHelp;
    return 0;
  }
  if (name == "materialise" || name == "materialize") {
    return simwin::runMaterialiseCommand(args, std::cout, std::cerr);
  }
  const auto command = commands.find(name);
  if (command == commands.end()) {
    std::cerr << "simwin: unknown command " << name << " (simwin help lists them)\n";
    return 2;
  }
  return onMachine(command->second, args);
}
