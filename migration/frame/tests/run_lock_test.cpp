// Two runs on one migration directory: the second refuses, says so where its user looks, and
// changes nothing; the first holds the directory for its whole length and frees it at its end.
#include "frame/run_lock.h"

#include <gtest/gtest.h>

#include <functional>
#include <sstream>

#include "frame/frm_main.h"
#include "frame/run_outcome.h"
#include "scan/mdl_file_search.h"
#include "testing/test_program.h"

namespace migration {
namespace {

constexpr const char* kChosen = "C:\\migrate\\jsmith";
constexpr const char* kLockFile = "C:\\migrate\\jsmith\\migrate.lck";
constexpr const char* kArchive = "C:\\migrate\\jsmith\\migfiles.mig";
constexpr const char* kLog = "C:\\migrate\\jsmith\\Migration\\migrate.log";

class RunLockTest : public ::testing::Test {
 protected:
  RunLockTest() {
    // The last run's archive and migration directory, and a document to copy.
    m_test.writeFile(kArchive, "the last good archive");
    m_test.writeFile("C:\\migrate\\jsmith\\Migration\\oldfile.cfg",
                     "C:\\migrate\\jsmith\\migfiles.mig\r\nTrue\r\n");
    m_test.writeFile("C:\\migrate\\jsmith\\Migration\\Master.mig", "[Username]\r\njsmith\r\n\r\n");
    m_test.writeFile("C:\\Docs\\a.doc", "a");
    program().session.strUserName = "jsmith";
    program().session.strAppPath = "C:\\Transvale";
    program().runLog().echoAttentionTo(&m_stderr);
  }

  // Another run, in this process or another, holds the directory.
  void anotherRunHoldsTheDirectory() {
    auto held = m_test.files().lockFile(kLockFile);
    ASSERT_TRUE(held) << held.status();
    m_other = std::move(*held);
  }

  // Every file below the chosen directory with its content, but for the log and the lock.
  std::string snapshot() {
    std::string listing;
    std::function<void(const std::string&)> walk = [&](const std::string& folder) {
      for (const auto& entry : m_test.files().listFolder(folder).valueOr({})) {
        const std::string path = folder + "\\" + entry.name;
        if ((entry.attributes & platform::FILE_ATTRIBUTE_DIRECTORY) != 0) {
          walk(path);
        } else if (entry.name != "migrate.lck" && entry.name != "migrate.log") {
          listing += path + " = " + m_test.testMachine().readFile(path) + "\n";
        }
      }
    };
    walk(kChosen);
    return listing;
  }

  bool lockIsFree() { return m_test.files().lockFile(kLockFile).ok(); }

  Program& program() { return m_test.program(); }
  frmMain& form() { return program().sharedForm<frmMain>(); }

  testing::TestProgram m_test;
  std::ostringstream m_stderr;
  std::unique_ptr<platform::FileLock> m_other;
};

// "auto" and "restore" from a login script: the refusal goes to standard error and the run log
// of the directory, and the exit status is 1.
TEST_F(RunLockTest, AnUnattendedRunRefusesADirectoryInUse) {
  for (const bool restore : {false, true}) {
    SCOPED_TRACE(restore ? "restore" : "auto");
    testing::TestProgram test;
    test.writeFile(kArchive, "the last good archive");
    test.writeFile("C:\\migrate\\jsmith\\Migration\\Master.mig", "[Username]\r\njsmith\r\n\r\n");
    auto other = test.files().lockFile(kLockFile);
    ASSERT_TRUE(other);
    std::ostringstream errors;
    Program& program = test.program();
    program.runLog().echoAttentionTo(&errors);
    program.session.strUserName = "jsmith";
    (restore ? program.session.bRestoreMode : program.session.bAutoMode) = true;

    program.sharedForm<frmMain>().load();

    EXPECT_TRUE(test.ui().messages().empty());
    // The directory as the window names it.
    EXPECT_NE(errors.str().find("Migration Directory In Use: another run holds "
                                "c:\\migrate\\jsmith; nothing was changed"),
              std::string::npos)
        << errors.str();
    std::ostringstream summary;
    EXPECT_EQ(FinishRun(program, summary), 1);
    EXPECT_NE(test.testMachine().readFile(kLog).find("Migration Directory In Use"),
              std::string::npos);
    EXPECT_EQ(test.testMachine().readFile(kArchive), "the last good archive");
    EXPECT_EQ(test.testMachine().readFile("C:\\migrate\\jsmith\\Migration\\Master.mig"),
              "[Username]\r\njsmith\r\n\r\n");
  }
}

// At the window each command that writes into the directory refuses with a box.
TEST_F(RunLockTest, EveryCommandAtTheWindowRefusesADirectoryInUse) {
  form().load();
  form().txtMigrateDir.setText(kChosen);
  form().txtFileDir.setText(kChosen);
  ASSERT_TRUE(form().lstMigration.setSelected(2, true));
  ScanForFiles(program(), "C:\\Docs", "*.doc");
  form().Select_All();
  anotherRunHoldsTheDirectory();
  const std::string before = snapshot();
  const std::pair<const char*, std::function<void()>> commands[] = {
      {"export", [this] { form().cmdMigrate_Click(0); }},
      {"copy", [this] { form().cmdCopyFiles_Click(0); }},
      {"restore settings", [this] { form().cmdRestoreSettings_Click(); }},
      {"restore files", [this] { form().cmdRestoreFiles_Click(); }},
  };
  for (const auto& [name, click] : commands) {
    SCOPED_TRACE(name);
    const std::size_t shown = m_test.ui().messages().size();
    form().txtMigFile.setText(std::string(kChosen) + "\\migration\\master.mig");
    click();
    ASSERT_EQ(m_test.ui().messages().size(), shown + 1);
    EXPECT_EQ(m_test.ui().messages().back().box.title, "Migration Directory In Use");
    EXPECT_EQ(m_test.ui().messages().back().box.prompt,
              "Another migration run is using the directory C:\\migrate\\jsmith.\r\n"
              "Nothing was changed. Start this one again when that run has finished.");
  }
  EXPECT_EQ(snapshot(), before);
  EXPECT_EQ(program().runLog().failures(), 1u);  // the last run's
  const std::string log = m_test.testMachine().readFile(kLog);
  std::size_t refusals = 0;
  for (std::size_t at = log.find("failed: Migration"); at != std::string::npos;
       at = log.find("failed: Migration", at + 1)) {
    ++refusals;
  }
  EXPECT_EQ(refusals, 2 * std::size(commands));  // each line, and the summary repeating it
}

// The unattended export holds the directory from its first step to its last, and frees it.
TEST_F(RunLockTest, AnUnattendedRunHoldsTheDirectoryUntilItEnds) {
  program().session.bAutoMode = true;
  // The Office settings: their export lets pending events run before each key.
  ASSERT_TRUE(form().lstMigration.setSelected(2, true));
  m_test.setRegistryText(platform::HKEY_CURRENT_USER, "Software\\Microsoft\\Office\\8.0\\Key",
                         "Value", "x");
  std::vector<bool> freeDuringTheRun;
  m_test.ui().atDoEvents(1, "another run tries",
                         [this, &freeDuringTheRun] { freeDuringTheRun.push_back(lockIsFree()); });
  form().load();
  ASSERT_EQ(freeDuringTheRun.size(), 1u);
  EXPECT_FALSE(freeDuringTheRun[0]);
  EXPECT_TRUE(lockIsFree());
}

}  // namespace
}  // namespace migration
