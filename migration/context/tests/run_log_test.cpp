#include "context/run_log.h"

#include <gtest/gtest.h>

#include "platform/testing/test_machine.h"

namespace migration {
namespace {

class RunLogTest : public ::testing::Test {
 protected:
  RunLogTest() { m_test.writeFile("C:\\Mig\\.keep", ""); }
  std::string logText() { return m_test.readFile("C:\\Mig\\migrate.log"); }

  platform::testing::TestMachine m_test;
  RunLog m_log{m_test.files(), [] { return std::string("T"); }};
};

TEST_F(RunLogTest, LinesBeforeTheFolderIsKnownAreKeptAndRunsAppend) {
  m_log.begin("Export");
  m_log.note("first");
  m_log.setFolder("C:\\Mig");
  m_log.warning("an export was cut");
  m_log.end();
  m_log.begin("Restore");
  m_log.setFolder("C:\\Mig\\");
  m_log.failure("no master file");
  m_log.end();
  EXPECT_EQ(logText(),
            "\r\n=== Export started T\r\nfirst\r\nwarning: an export was cut\r\n"
            "Export: 1 warnings, 0 failures, 0 passed over\r\n"
            "  warning: an export was cut\r\n=== Export ended T\r\n"
            "\r\n=== Restore started T\r\nfailed: no master file\r\n"
            "Restore: 0 warnings, 1 failures, 0 passed over\r\n"
            "  failed: no master file\r\n=== Restore ended T\r\n");
  EXPECT_EQ(m_log.failures(), 1u);
  EXPECT_EQ(m_log.warnings(), 0u);
}

TEST_F(RunLogTest, AScopeListensForFailuresPassedOverAndEndsOnlyTheRunItBegan) {
  {
    RunLog::Scope outer(m_log, "Unattended export");
    m_log.setFolder("C:\\Mig");
    {
      RunLog::Scope inner(m_log, "Copy");
      platform::ignoreFailure(platform::ERROR_FILE_NOT_FOUND, "no wallpaper");
    }
    EXPECT_TRUE(m_log.running());
  }
  EXPECT_FALSE(m_log.running());
  platform::ignoreFailure(platform::ERROR_FILE_NOT_FOUND, "after the run");
  EXPECT_EQ(m_log.passedOver(), 1u);
  EXPECT_NE(logText().find("passed over: no wallpaper (status 2)"), std::string::npos);
  EXPECT_EQ(logText().find("Copy"), std::string::npos);
}

TEST_F(RunLogTest, ALogThatCannotBeWrittenSaysSoInItsSummary) {
  m_log.begin("Export");
  m_log.setFolder("C:\\Missing\\Folder");
  m_log.note("step");
  EXPECT_TRUE(m_log.fileStatus().failed());
  EXPECT_NE(m_log.summary().back().find("could not be written"), std::string::npos);
}

TEST_F(RunLogTest, AFolderThatCouldNotBeWrittenIsForgottenByTheNextRun) {
  m_log.begin("Restore");
  m_log.setFolder("C:\\Missing");
  m_log.end();
  EXPECT_EQ(m_log.summary().back(),
            "  warning: the log C:\\Missing\\migrate.log could not be written (status 3)");
  m_log.begin("Restore");
  m_log.note("kept until the folder is known");
  m_log.setFolder("C:\\Mig");
  m_log.end();
  EXPECT_TRUE(m_log.fileStatus().ok());
  EXPECT_NE(logText().find("kept until the folder is known"), std::string::npos);
  EXPECT_EQ(m_log.summary().size(), 1u);
}

TEST_F(RunLogTest, ResultLinesStandInTheSummaryAheadOfWhatNeedsAttention) {
  m_log.begin("Restore");
  m_log.failure("a printer is missing");
  m_log.result("printers present: 0 of 1");
  EXPECT_EQ(m_log.summary(),
            (std::vector<std::string>{"Restore: 0 warnings, 1 failures, 0 passed over",
                                      "  printers present: 0 of 1",
                                      "  failed: a printer is missing"}));
  m_log.begin("Export");
  EXPECT_EQ(m_log.summary().size(), 1u);
}

}  // namespace
}  // namespace migration
