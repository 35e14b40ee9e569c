#include "machine_opener.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "platform/open_machine.h"

namespace platform {
namespace {

namespace fs = std::filesystem;

fs::path homeDirectory() {
  if (const char* home = std::getenv("HOME"); home && *home) return home;
  if (const passwd* entry = ::getpwuid(::getuid())) return entry->pw_dir;
  return "/";
}

std::string serverFolderName(const struct stat& prefix) {
  char name[64];
  std::snprintf(name, sizeof name, "server-%llx-%llx",
                static_cast<unsigned long long>(prefix.st_dev),
                static_cast<unsigned long long>(prefix.st_ino));
  return name;
}

// NOTE: upstream Wine keeps its server in <base>/.wine-<uid>; Debian's build makes a fresh
// <base>/wine-XXXXXX and writes that name into the prefix's file "wineserver". Both are checked.
std::vector<fs::path> serverLockCandidates(const fs::path& root, const struct stat& prefix,
                                           const fs::path& serverBase) {
  const std::string server = serverFolderName(prefix);
  std::vector<fs::path> locks = {serverBase / (".wine-" + std::to_string(::getuid())) / server /
                                 "lock"};
  std::ifstream named(root / "wineserver");
  std::string folder;
  const bool plainName = std::getline(named, folder) && !folder.empty() &&
                         folder.find('/') == std::string::npos && folder != "." && folder != "..";
  if (plainName) locks.push_back(serverBase / folder / server / "lock");
  return locks;
}

bool isLockHeld(const fs::path& lock) {
  const int fd = ::open(lock.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;  // no server ever ran here, or it cleaned up
  struct flock probe {};
  probe.l_type = F_WRLCK;
  probe.l_whence = SEEK_SET;
  // NOTE: the folder outlives a server that was killed; only the lock says it still runs.
  const bool held = ::fcntl(fd, F_GETLK, &probe) == 0 && probe.l_type != F_UNLCK;
  ::close(fd);
  return held;
}

}  // namespace

fs::path machineRootFromEnvironment() {
  if (const char* prefix = std::getenv("WINEPREFIX"); prefix && *prefix) return prefix;
  return homeDirectory() / ".wine";
}

bool wineServerHolds(const fs::path& root, const fs::path& serverBase) {
  struct stat prefix {};
  if (::stat(root.c_str(), &prefix) != 0) return false;
  for (const fs::path& lock : serverLockCandidates(root, prefix, serverBase)) {
    if (isLockHeld(lock)) return true;
  }
  return false;
}

Result<std::unique_ptr<NativeMachine>> openNativeMachine(const fs::path& root) {
  using Opened = Result<std::unique_ptr<NativeMachine>>;
  std::error_code error;
  if (!fs::is_directory(root, error)) {
    return Opened::failure(
        ERROR_PATH_NOT_FOUND,
        "no machine at " + root.string() +
            " (set WINEPREFIX, or make one with: simwin materialise SAMPLE DIR)");
  }
  if (!fs::is_directory(root / "dosdevices", error)) {
    return Opened::failure(ERROR_PATH_NOT_FOUND,
                           root.string() + " is not a machine: it has no dosdevices folder");
  }
  if (wineServerHolds(root)) {
    return Opened::failure(ERROR_SHARING_VIOLATION,
                           "a running Wine server holds the machine at " + root.string() +
                               "; stop it first (WINEPREFIX=" + root.string() + " wineserver -k)");
  }
  auto machine = std::make_unique<NativeMachine>(root);
  // A damaged registry would pass for an empty one: no user, no component, no settings. Better
  // to say which file it is and change nothing.
  if (auto hives = machine->nativeRegistry().loadHives(); !hives) {
    return Opened::failure(hives.status(), "the registry file " + hives.subject() +
                                               ". Nothing was changed on the machine; restore "
                                               "the file, or make the machine again");
  }
  return machine;
}

Result<std::unique_ptr<Machine>> openMachine() {
  auto opened = openNativeMachine(machineRootFromEnvironment());
  if (!opened) return opened.failureAs<std::unique_ptr<Machine>>();
  return std::unique_ptr<Machine>(std::move(*opened));
}

}  // namespace platform
