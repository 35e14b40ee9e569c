// A machine for tests: built in a few lines, on a virtual clock, removed again at the end. Tests of
// the component and the program get their machine here and reach it through platform::Machine
// only, so that the same suites can run against every backend.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "platform/clock.h"
#include "platform/machine.h"
#include "platform/registry.h"

namespace platform::testing {

class TestMachine {
 public:
  struct Options {
    std::string programDirectory = "C:\\Transvale";  // created when it lies on drive C
    std::string userName = "jsmith";                 // empty: GetUserNameA fails
  };

  // Drive C with the program directory, and the logged-on user.
  TestMachine();
  explicit TestMachine(Options options);
  ~TestMachine();
  TestMachine(const TestMachine&) = delete;
  TestMachine& operator=(const TestMachine&) = delete;

  Machine& machine() { return *m_machine; }
  FileSystem& files() { return m_machine->files(); }
  Registry& registry() { return m_machine->registry(); }
  VirtualClock& clock() { return m_clock; }

  // A further fixed drive, empty.
  void addDrive(char letter);
  // A drive whose root is `target`: a path relative to the drive links, or a missing one for a
  // drive that is not ready.
  void addDriveLink(char letter, const std::string& target);
  // A network share \\server\share, empty.
  void addShare(const std::string& server, const std::string& share);
  // The host's whole file system as a drive, as Wine shows it on Z:.
  void addHostDrive(char letter);

  // Registry values, with their keys; a failure fails the test.
  void setRegistryValue(HKEY root, const std::string& key, const std::string& name, DWORD type,
                        const std::string& bytes);
  void setRegistryText(HKEY root, const std::string& key, const std::string& name,
                       const std::string& text);  // REG_SZ with its NUL
  void setRegistryDword(HKEY root, const std::string& key, const std::string& name,
                        DWORD value);

  // A folder link (a junction) at `link` that leads to the folder `target`; both Windows paths.
  void linkFolder(const std::string& link, const std::string& target);

  // A file with its missing folders, by Windows path; a failure fails the test.
  void writeFile(const std::string& path, const std::string& bytes);
  // The whole file, or "" when it cannot be read.
  std::string readFile(const std::string& path);

  // Where a Windows path of the machine lies on the host, for peers such as unzip.
  std::filesystem::path hostPath(const std::string& path);
  // A host file as the machine sees it through its host drive.
  static std::string windowsPathOfHost(const std::filesystem::path& hostPath);
  // The Wine prefix that holds the machine, for programs that open it themselves (WINEPREFIX).
  const std::filesystem::path& winePrefix() const;
  // Every command line the machine was asked to start, one per line.
  std::string commandLog() const;
  // Another machine on the same disk and registry, with its program elsewhere.
  std::unique_ptr<Machine> sameMachineWithProgramIn(const std::string& programDirectory);

 private:
  struct Disk;
  std::unique_ptr<Disk> m_disk;
  VirtualClock m_clock;
  std::unique_ptr<Machine> m_machine;
};

}  // namespace platform::testing
