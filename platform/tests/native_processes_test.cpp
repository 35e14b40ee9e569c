#include "native_processes.h"

#include <gtest/gtest.h>

#include "command_line.h"
#include "platform/testing/temporary_machine_root.h"
#include "native_file_system.h"
#include "native_registry.h"
#include "platform/clock.h"

namespace platform {
namespace {

TEST(ParseCommandLine, FindsTheProgramAndItsArguments) {
  const CommandLine quoted =
      parseCommandLine("  \"C:\\Program Files\\X\\RegEdit.EXE\"  /s \"a b.reg\"");
  EXPECT_EQ(quoted.program, "C:\\Program Files\\X\\RegEdit.EXE");
  EXPECT_EQ(quoted.name, "regedit");
  EXPECT_EQ(quoted.arguments, "/s \"a b.reg\"");
  EXPECT_EQ(splitArguments(quoted.arguments), (std::vector<std::string>{"/s", "a b.reg"}));

  const CommandLine plain = parseCommandLine("net localgroup \"Power Users\" Everyone /delete");
  EXPECT_EQ(plain.name, "net");
  EXPECT_EQ(splitArguments(plain.arguments),
            (std::vector<std::string>{"localgroup", "Power Users", "Everyone", "/delete"}));
  EXPECT_EQ(parseCommandLine("\\killnovell.exe").name, "killnovell");
  EXPECT_EQ(parseCommandLine("").name, "");
}

class NativeProcessesTest : public ::testing::Test {
 protected:
  NativeProcessesTest() {
    root.addDrive('C');
    root.writeFile("drive_c/import.reg",
                   "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Test]\r\n\"Name\"=\"value\"\r\n");
  }

  std::string testValue() {
    char data[64] = {};
    DWORD size = sizeof data;
    HKEY key = 0;
    if (registry.RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Test", 0, KEY_READ, &key).failed()) {
      return "<no key>";
    }
    const Status status =
        registry.RegQueryValueExA(key, "Name", nullptr, reinterpret_cast<BYTE*>(data), &size);
    ignoreFailure(registry.RegCloseKey(key), "a key opened for reading");
    return status.ok() ? std::string(data) : "<no value>";
  }

  testing::TemporaryMachineRoot root;
  VirtualClock clock;
  NativeRegistry registry{root.path(), &clock};
  NativeFileSystem files{root.path(), &registry};
  NativeProcesses processes{root.path(), files, registry};
};

TEST_F(NativeProcessesTest, RegeditImportsTheFile) {
  auto outcome = processes.start("\"C:\\WINNT\\regedit.exe\" /s c:\\IMPORT.reg",
                                 WindowStyle::Hidden, Wait::Yes);
  ASSERT_TRUE(outcome.ok());
  EXPECT_EQ(outcome->exitCode, 0u);
  EXPECT_EQ(testValue(), "value");
}

TEST_F(NativeProcessesTest, RegeditWithoutSilentSwitchImportsToo) {
  ASSERT_EQ(files.setCurrentDirectory("C:\\"), ERROR_SUCCESS);
  EXPECT_TRUE(processes.start("REGEDIT import.reg", WindowStyle::Normal, Wait::No).ok());
  EXPECT_EQ(testValue(), "value");
}

TEST_F(NativeProcessesTest, RegeditFailuresGiveAnExitCode) {
  for (const char* line : {"regedit /s C:\\missing.reg", "regedit /e C:\\import.reg", "regedit /s",
                           "regedit /s C:\\"}) {
    auto outcome = processes.start(line, WindowStyle::Hidden, Wait::Yes);
    ASSERT_TRUE(outcome.ok()) << line;
    EXPECT_EQ(outcome->exitCode, 1u) << line;
  }
  EXPECT_EQ(testValue(), "<no key>");
}

TEST_F(NativeProcessesTest, NetChangesLocalGroupsOnly) {
  for (const auto& [line, exitCode] : std::vector<std::pair<const char*, std::uint32_t>>{
           {"net localgroup \"Power Users\" \"Everyone\" /delete", 0},
           {"NET.EXE LocalGroup Users", 0},
           {"net use F: \\\\server\\share", 1},
           {"net", 1}}) {
    auto outcome = processes.start(line, WindowStyle::Hidden, Wait::Yes);
    ASSERT_TRUE(outcome.ok()) << line;
    EXPECT_EQ(outcome->exitCode, exitCode) << line;
  }
}

TEST_F(NativeProcessesTest, OtherProgramsAreMissingAndEveryLineIsLogged) {
  EXPECT_EQ(processes.start("notepad.exe C:\\x.txt", WindowStyle::Normal, Wait::No).status(),
            ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(processes.start("\\killnovell.exe", WindowStyle::Hidden, Wait::Yes).status(),
            ERROR_FILE_NOT_FOUND);
  EXPECT_TRUE(processes.start("regedit /s C:\\import.reg", WindowStyle::Hidden, Wait::Yes).ok());
  EXPECT_TRUE(processes.start("x\r\ny", WindowStyle::Hidden, Wait::Yes).status().failed());
  EXPECT_EQ(root.readFile(NativeProcesses::kLogName),
            "notepad.exe C:\\x.txt\n\\killnovell.exe\nregedit /s C:\\import.reg\nx  y\n");
}

}  // namespace
}  // namespace platform
