// The machine breaks during a run: for every N, just before the N-th write of an unattended
// export (settings, scan and archive) or of an unattended restore, the disk fills, a folder the
// run writes to turns read-only, or drive C: goes away. Whatever N, no document the user had is
// lost or left cut short, the archive is the last good one or a whole new one, and a run that
// could not do its work ends with the status that tells a login script so.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "frame/frm_main.h"
#include "frame/run_outcome.h"
#include "testing/test_program.h"

namespace migration {
namespace {

constexpr const char* kArchive = "C:\\migrate\\jsmith\\migfiles.mig";
constexpr const char* kPointer = "C:\\migrate\\jsmith\\Migration\\oldfile.cfg";

// A zip archive is whole when it ends with its end-of-directory record and that record's comment.
bool wholeArchive(const std::string& bytes) {
  const std::size_t end = bytes.rfind(std::string("PK\x05\x06", 4));
  if (end == std::string::npos || end + 22 > bytes.size()) return false;
  const auto commentLength =
      static_cast<std::size_t>(static_cast<unsigned char>(bytes[end + 20]) |
                               static_cast<unsigned char>(bytes[end + 21]) << 8);
  return end + 22 + commentLength == bytes.size();
}

// The component's library beside the program, as the main window looks for it there.
void installZipComponent(testing::TestProgram& test) {
  const std::filesystem::path library = PARCELON_LIBRARY_PATH;
  std::filesystem::create_symlink(
      library, test.testMachine().hostPath("C:\\Transvale\\" + library.filename().string()));
}

// The user jsmith with two documents and a wallpaper, and a program set to export the desktop
// settings and archive every Word document of drive C.
void prepareOldMachine(testing::TestProgram& test) {
  installZipComponent(test);
  ASSERT_EQ(test.files().createFolder("C:\\migrate"), platform::ERROR_SUCCESS);
  test.writeFile("C:\\Docs\\a.doc", std::string(3000, 'a'));
  test.writeFile("C:\\Docs\\b.doc", "second document");
  test.writeFile("C:\\WINNT\\Clouds.bmp", "BM clouds");
  test.setRegistryText(platform::HKEY_CURRENT_USER, "Control Panel\\Desktop", "Wallpaper",
                       "C:\\WINNT\\Clouds.bmp");
  Program& program = test.program();
  program.session.strAppPath = "C:\\Transvale";
  program.session.strUserName = "jsmith";
  program.config.strDefaultMigrationType = "3,4";
  program.config.strDefaultMigrationSettings = "0";
  program.config.strDefaultFileTypes = "0";
  program.config.strDefaultScanDrive = "c:\\";
  program.config.strDefaultExcludeList = "c:\\migrate,c:\\winnt,c:\\transvale";
  program.config.arrExcludeList = {"c:\\migrate", "c:\\winnt", "c:\\transvale"};
}

// Runs `migration auto` or `migration restore` in the test program; its exit status.
int unattendedRun(testing::TestProgram& test, bool restore) {
  Program& program = test.program();
  program.session.bAutoMode = !restore;
  program.session.bRestoreMode = restore;
  program.sharedForm<frmMain>().load();
  std::ostringstream summary;
  const int status = FinishRun(program, summary);
  if (std::getenv("FAULT_SWEEP_VERBOSE") != nullptr) std::cerr << summary.str();
  return status;
}

constexpr const char* kLastGoodArchive = "the last good archive";
constexpr const char* kLastGoodPointer = "C:\\migrate\\jsmith\\migfiles.mig\r\nTrue\r\n";
// What the run writes: the same archive, named as the run names it.
constexpr const char* kNewPointer = "c:\\migrate\\jsmith\\migfiles.mig\r\nTrue\r\n";

// The old machine with what its last good export left.
void prepareExport(testing::TestProgram& test) {
  prepareOldMachine(test);
  ASSERT_EQ(test.files().createFolder("C:\\migrate\\jsmith"), platform::ERROR_SUCCESS);
  for (const char* folder : {"", "\\Drivers", "\\Files", "\\Folders"}) {
    ASSERT_EQ(test.files().createFolder(std::string("C:\\migrate\\jsmith\\Migration") + folder),
              platform::ERROR_SUCCESS);
  }
  test.writeFile(kArchive, kLastGoodArchive);
  test.writeFile(kPointer, kLastGoodPointer);
}

// Every file below a folder of one test machine, written into the same place on another.
void copyTree(testing::TestProgram& from, testing::TestProgram& to, const std::string& folder) {
  for (const auto& entry : from.files().listFolder(folder).valueOr({})) {
    const std::string path = folder + "\\" + entry.name;
    if ((entry.attributes & platform::FILE_ATTRIBUTE_DIRECTORY) != 0) {
      copyTree(from, to, path);
    } else {
      to.writeFile(path, from.testMachine().readFile(path));
    }
  }
}

// The new machine: what the export of the old one left in C:\migrate\jsmith, and a document of
// the user's own that the restore must leave alone.
void prepareRestore(testing::TestProgram& exported, testing::TestProgram& test) {
  installZipComponent(test);
  copyTree(exported, test, "C:\\migrate\\jsmith");
  test.writeFile("C:\\Docs\\new.txt", "made on the new machine");
  test.program().session.strUserName = "jsmith";
}

using Fault = platform::testing::FaultyFileSystem::Fault;

// A way the machine breaks part-way through a run, and the places it takes.
struct Breakage {
  const char* name;
  Fault fault;
  const char* where;  // a folder or drive root; empty for everywhere
};

// Runs the export or the restore, the machine breaking just before its N-th write (not at all
// for 0); the number of writes the run made.
std::size_t sweepRun(testing::TestProgram& test, bool restore, std::size_t failing,
                     const Breakage& breakage, int& status) {
  test.faults().countWritesTo({});
  if (failing > 0) {
    test.faults().failFromWrite(
        failing, breakage.fault,
        *breakage.where ? platform::testing::FaultyFileSystem::below(breakage.where) : nullptr);
  }
  status = unattendedRun(test, restore);
  return test.faults().writes();
}

std::string traceOf(const Breakage& breakage, std::size_t failing, std::size_t writes) {
  return std::string(breakage.name) + " before write " + std::to_string(failing) + " of " +
         std::to_string(writes);
}

// A run that exits 0 although the machine refused something left nothing undone that matters:
// the checks after each run say what that is.
void expectFailureSaid(const Breakage& breakage, testing::TestProgram& test, int status) {
  if (breakage.fault == Fault::DiskFull) {
    EXPECT_EQ(status, 1) << "every write from then on fails";
  }
  EXPECT_TRUE(status == 0 || status == 1) << status;
  if (status == 0 && test.faults().refusals() > 0 && std::getenv("FAULT_SWEEP_VERBOSE")) {
    std::cerr << "  exit 0 after " << test.faults().refusals() << " refusals\n";
  }
}

constexpr Breakage kExportBreakages[] = {
    {"the disk full", Fault::DiskFull, ""},
    {"the migration folder read-only", Fault::ReadOnly, "C:\\migrate\\jsmith"},
    {"drive C: gone", Fault::Missing, "C:\\"},
};

TEST(FaultSweep, AnExportThatBreaksOffLosesNothingAndSaysSo) {
  std::size_t writes = 0;
  {
    testing::TestProgram test;
    prepareExport(test);
    int status = -1;
    writes = sweepRun(test, false, 0, kExportBreakages[0], status);
    ASSERT_EQ(status, 0);
    const std::string archive = test.testMachine().readFile(kArchive);
    ASSERT_TRUE(wholeArchive(archive)) << archive.size();
  }
  ASSERT_GT(writes, 5u);
  for (const Breakage& breakage : kExportBreakages) {
    for (std::size_t failing = 1; failing <= writes; ++failing) {
      SCOPED_TRACE(traceOf(breakage, failing, writes));
      testing::TestProgram test;
      prepareExport(test);
      int status = -1;
      sweepRun(test, false, failing, breakage, status);

      expectFailureSaid(breakage, test, status);
      EXPECT_EQ(test.testMachine().readFile("C:\\Docs\\a.doc"), std::string(3000, 'a'));
      EXPECT_EQ(test.testMachine().readFile("C:\\Docs\\b.doc"), "second document");
      EXPECT_EQ(test.testMachine().readFile("C:\\WINNT\\Clouds.bmp"), "BM clouds");
      // The last good archive and its pointer, or a whole new archive and the pointer to it;
      // a run that says it went well has written both.
      const std::string archive = test.testMachine().readFile(kArchive);
      const std::string pointer = test.testMachine().readFile(kPointer);
      if (archive == kLastGoodArchive) {
        EXPECT_EQ(pointer, kLastGoodPointer);
        EXPECT_EQ(status, 1) << "the archive was not written";
      } else {
        EXPECT_TRUE(wholeArchive(archive)) << archive.size();
        EXPECT_TRUE(pointer == kLastGoodPointer || pointer == kNewPointer) << pointer;
        if (status == 0) {
          EXPECT_EQ(pointer, kNewPointer);
        }
      }
    }
  }
}

constexpr Breakage kRestoreBreakages[] = {
    {"the disk full", Fault::DiskFull, ""},
    {"the documents' folder read-only", Fault::ReadOnly, "C:\\Docs"},
    {"drive C: gone", Fault::Missing, "C:\\"},
};

TEST(FaultSweep, ARestoreThatBreaksOffLosesNothingAndSaysSo) {
  testing::TestProgram exported;
  prepareExport(exported);
  ASSERT_EQ(unattendedRun(exported, false), 0);
  std::size_t writes = 0;
  {
    testing::TestProgram test;
    prepareRestore(exported, test);
    int status = -1;
    writes = sweepRun(test, true, 0, kRestoreBreakages[0], status);
    ASSERT_EQ(status, 0);
    ASSERT_EQ(test.testMachine().readFile("C:\\Docs\\b.doc"), "second document");
  }
  ASSERT_GT(writes, 0u);
  const std::vector<std::pair<std::string, std::string>> documents = {
      {"C:\\Docs\\a.doc", std::string(3000, 'a')}, {"C:\\Docs\\b.doc", "second document"}};
  for (const Breakage& breakage : kRestoreBreakages) {
    for (std::size_t failing = 1; failing <= writes; ++failing) {
      SCOPED_TRACE(traceOf(breakage, failing, writes));
      testing::TestProgram test;
      prepareRestore(exported, test);
      int status = -1;
      sweepRun(test, true, failing, breakage, status);

      expectFailureSaid(breakage, test, status);
      EXPECT_EQ(test.testMachine().readFile("C:\\Docs\\new.txt"), "made on the new machine");
      // A restored document is whole or not there, never cut short; all are there after a run
      // that says it went well.
      for (const auto& [path, bytes] : documents) {
        const std::filesystem::path host = test.testMachine().hostPath(path);
        if (std::filesystem::exists(host)) {
          EXPECT_EQ(test.testMachine().readFile(path), bytes) << path;
        } else {
          EXPECT_EQ(status, 1) << path << " was not restored";
        }
      }
      EXPECT_EQ(test.testMachine().readFile(kArchive), exported.testMachine().readFile(kArchive));
    }
  }
}

}  // namespace
}  // namespace migration
