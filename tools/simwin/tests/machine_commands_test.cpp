#include "machine_commands.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "native_machine.h"
#include "platform/clock.h"

namespace simwin {
namespace {

TEST(MachineCommands, FormatTimesAndAttributes) {
  EXPECT_EQ(formatFileTime(126'290'358'000'000'000ULL), "2001-03-14 09:30");
  using namespace platform;
  EXPECT_EQ(formatAttributes(FILE_ATTRIBUTE_ARCHIVE), "----A");
  EXPECT_EQ(formatAttributes(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                             FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE),
            "RHS-A");
  EXPECT_EQ(formatAttributes(FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN), "-H-D-");
}

// `simwin dir` lists a folder whole, or the entries that a name or wildcard picks out of one.
TEST(MachineCommands, DirListsAFolderOrWhatANameMatches) {
  namespace fs = std::filesystem;
  std::string pattern = (fs::temp_directory_path() / "dir-command-XXXXXX").string();
  const fs::path root = ::mkdtemp(pattern.data());
  fs::create_directories(root / "drive_c" / "Data" / "Sub");
  fs::create_directories(root / "dosdevices");
  fs::create_directory_symlink("../drive_c", root / "dosdevices" / "c:");
  for (const char* name : {"a.doc", "b.txt"})
    std::ofstream(root / "drive_c" / "Data" / name) << "x";
  {
    platform::VirtualClock clock;
    platform::NativeMachine machine(root, clock, "C:\\Program");
    const auto dir = [&](const std::string& path, std::string& out) {
      std::ostringstream text, errors;
      const int status = runDirCommand(machine, {path}, text, errors);
      out = text.str() + errors.str();
      return status;
    };
    std::string out;
    EXPECT_EQ(dir("c:\\data", out), 0);
    EXPECT_NE(out.find(" Directory of C:\\Data\n"), std::string::npos) << out;
    EXPECT_NE(out.find("2 file(s), 2 bytes; 1 folder(s)"), std::string::npos) << out;
    EXPECT_EQ(dir("C:\\Data\\*.DOC", out), 0);
    EXPECT_NE(out.find("1 file(s)"), std::string::npos) << out;
    EXPECT_NE(out.find("a.doc"), std::string::npos) << out;
    EXPECT_EQ(machine.files().setCurrentDirectory("C:\\Data"), platform::ERROR_SUCCESS);
    EXPECT_EQ(dir("b.txt", out), 0);  // a bare name is looked for in the current folder
    EXPECT_NE(out.find(" Directory of C:\\Data\n"), std::string::npos) << out;
    EXPECT_NE(out.find("1 file(s), 1 bytes"), std::string::npos) << out;
    EXPECT_EQ(dir("C:\\None\\*", out), 1);
    EXPECT_NE(out.find("error 3"), std::string::npos) << out;
    // What matches nothing is no listing of the folder around it.
    EXPECT_EQ(dir("C:\\Missing", out), 1);
    EXPECT_EQ(out, "simwin dir: C:\\Missing: File Not Found\n");
    EXPECT_EQ(dir("C:\\Data\\*.xls", out), 1);
  }
  fs::remove_all(root);
}

}  // namespace
}  // namespace simwin
