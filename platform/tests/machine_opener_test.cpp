#include "machine_opener.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>

#include "platform/testing/temporary_machine_root.h"
#include "platform/clock.h"

namespace platform {
namespace {

namespace fs = std::filesystem;

// Sets an environment variable for one test and puts the old value back.
class ScopedVariable {
 public:
  ScopedVariable(const char* name, const char* value) : m_name(name) {
    if (const char* old = std::getenv(name)) m_old = old;
    if (value) {
      ::setenv(name, value, 1);
    } else {
      ::unsetenv(name);
    }
  }
  ~ScopedVariable() {
    if (m_old) {
      ::setenv(m_name, m_old->c_str(), 1);
    } else {
      ::unsetenv(m_name);
    }
  }

 private:
  const char* m_name;
  std::optional<std::string> m_old;
};

// A process that holds an fcntl lock on `lock` until it is told to stop, as wineserver does.
class LockHolder {
 public:
  explicit LockHolder(const fs::path& lock) {
    int ready[2];
    if (::pipe(ready) != 0 || ::pipe(m_stop) != 0) return;
    m_child = ::fork();
    if (m_child == 0) {
      ::close(ready[0]);
      ::close(m_stop[1]);  // so that the parent's close ends the wait below
      const int fd = ::open(lock.c_str(), O_RDWR | O_CREAT, 0600);
      struct flock hold {};
      hold.l_type = F_WRLCK;
      hold.l_whence = SEEK_SET;
      const char result = fd >= 0 && ::fcntl(fd, F_SETLK, &hold) == 0 ? 'y' : 'n';
      ssize_t ignored = ::write(ready[1], &result, 1);
      char stop;
      ignored = ::read(m_stop[0], &stop, 1);
      (void)ignored;
      ::_exit(0);
    }
    ::close(ready[1]);
    ::close(m_stop[0]);
    char result = 'n';
    m_locked = ::read(ready[0], &result, 1) == 1 && result == 'y';
    ::close(ready[0]);
  }
  ~LockHolder() {
    if (m_child <= 0) return;
    ::close(m_stop[1]);
    ::waitpid(m_child, nullptr, 0);
  }
  bool locked() const { return m_locked; }

 private:
  pid_t m_child = -1;
  int m_stop[2] = {-1, -1};
  bool m_locked = false;
};

TEST(MachineOpener, FindsTheMachineAsWineDoes) {
  {
    ScopedVariable prefix("WINEPREFIX", "/srv/machines/old");
    EXPECT_EQ(machineRootFromEnvironment(), "/srv/machines/old");
  }
  ScopedVariable prefix("WINEPREFIX", nullptr);
  ScopedVariable home("HOME", "/home/tech");
  EXPECT_EQ(machineRootFromEnvironment(), "/home/tech/.wine");
}

// Where wineserver keeps its lock: upstream in .wine-<uid>, Debian in a folder it names in the
// prefix's file "wineserver".
struct ServerFolderCase {
  const char* name;
  std::string folder;     // below the server base
  std::string namedFile;  // what <prefix>/wineserver holds, empty for none
};

void PrintTo(const ServerFolderCase& server, std::ostream* out) { *out << server.name; }

class WineServerLock : public ::testing::TestWithParam<ServerFolderCase> {};

TEST_P(WineServerLock, IsSeenOnlyWhileHeld) {
  testing::TemporaryMachineRoot root;
  testing::TemporaryMachineRoot serverBase;  // any fresh folder serves as /tmp
  struct stat info {};
  ASSERT_EQ(::stat(root.path().c_str(), &info), 0);
  char name[64];
  std::snprintf(name, sizeof name, "server-%llx-%llx", static_cast<unsigned long long>(info.st_dev),
                static_cast<unsigned long long>(info.st_ino));
  const fs::path folder = serverBase.path() / GetParam().folder / name;
  fs::create_directories(folder);
  if (!GetParam().namedFile.empty()) root.writeFile("wineserver", GetParam().namedFile);

  EXPECT_FALSE(wineServerHolds(root.path(), serverBase.path()));
  std::ofstream(folder / "lock") << "";
  EXPECT_FALSE(wineServerHolds(root.path(), serverBase.path())) << "a lock file left behind";
  {
    LockHolder server(folder / "lock");
    ASSERT_TRUE(server.locked());
    EXPECT_TRUE(wineServerHolds(root.path(), serverBase.path()));
  }
  EXPECT_FALSE(wineServerHolds(root.path(), serverBase.path()));
}

INSTANTIATE_TEST_SUITE_P(
    Forms, WineServerLock,
    ::testing::Values(ServerFolderCase{"Upstream", ".wine-" + std::to_string(::getuid()), ""},
                      ServerFolderCase{"Debian", "wine-AbC123", "wine-AbC123"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MachineOpener, RefusesWhatIsNoMachine) {
  testing::TemporaryMachineRoot root;
  auto missing = openNativeMachine(root.path() / "none");
  EXPECT_EQ(missing.status(), ERROR_PATH_NOT_FOUND);
  EXPECT_NE(missing.subject().find("no machine at"), std::string::npos);
  fs::remove_all(root.path() / "dosdevices");
  EXPECT_EQ(openNativeMachine(root.path()).status(), ERROR_PATH_NOT_FOUND);
}

// A damaged registry file stops the opening with its name and what is wrong, and stays as it was:
// random bytes where system.reg belongs, a user.reg cut off in the middle of a line.
TEST(MachineOpener, RefusesADamagedRegistryFileAndSaysWhichAndWhy) {
  struct Damage {
    const char* file;
    std::string bytes;
    const char* why;
  };
  const Damage damages[] = {
      {"system.reg", std::string("\x13\x9a\x00garbage\xff", 12), "does not start as a registry file"},
      {"user.reg", "WINE REGISTRY Version 2\n\n[Volatile Environment] 1\n\"USERNA", "cut short"},
  };
  for (const Damage& damage : damages) {
    testing::TemporaryMachineRoot root;
    root.addDrive('C');
    root.writeFile(damage.file, damage.bytes);
    auto machine = openNativeMachine(root.path());
    ASSERT_FALSE(machine.ok()) << damage.file;
    EXPECT_EQ(machine.status(), ERROR_BADDB);
    const std::string path = (root.path() / damage.file).string();
    EXPECT_NE(machine.subject().find("the registry file " + path + ": it "), std::string::npos)
        << machine.subject();
    EXPECT_NE(machine.subject().find(damage.why), std::string::npos) << machine.subject();
    EXPECT_EQ(root.readFile(damage.file), damage.bytes);
  }
}

TEST(MachineOpener, OpensAMachineWithItsProgramDirectory) {
  testing::TemporaryMachineRoot root;
  root.addDrive('C');
  {
    ScopedVariable programDirectory("TRANSVALE_PROGRAM_DIR", "\\\\fileserver\\tools\\");
    auto machine = openNativeMachine(root.path());
    ASSERT_TRUE(machine.ok()) << machine.subject();
    EXPECT_EQ((*machine)->programDirectory(), "\\\\fileserver\\tools");
    EXPECT_TRUE((*machine)->files().folderExists("C:\\"));
  }
  ScopedVariable programDirectory("TRANSVALE_PROGRAM_DIR", nullptr);
  const std::string own = hostProgramDirectory();
  EXPECT_EQ(own.rfind("Z:\\", 0), 0u) << own;
  EXPECT_EQ(windowsPathOfHostPath("/work/main/build/bin/"), "Z:\\work\\main\\build\\bin");
  EXPECT_EQ(windowsPathOfHostPath("/"), "Z:\\");
}

}  // namespace
}  // namespace platform
