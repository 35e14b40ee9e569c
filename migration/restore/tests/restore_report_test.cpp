#include "restore/restore_report.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "context/run_log.h"
#include "platform/testing/test_machine.h"

namespace migration {
namespace {

using Item = RestoreReport::Item;

TEST(JudgeTest, ValuesAndEntriesArriveOnlyExactly) {
  struct ValueCase {
    std::uint32_t type;
    std::string data;
    bool present;
    Arrival expected;
  };
  // Exported: REG_SZ "a" with its NUL.
  const ValueCase values[] = {
      {1, std::string("a\0", 2), true, Arrival::Arrived},
      {2, std::string("a\0", 2), true, Arrival::Differs},  // same bytes, another type
      {1, "a", true, Arrival::Differs},                    // the NUL lost
      {1, std::string("a\0", 2), false, Arrival::Missing},
  };
  for (const ValueCase& c : values) {
    EXPECT_EQ(JudgeValue(1, std::string("a\0", 2), c.present, c.type, c.data), c.expected)
        << c.type << " " << c.data.size();
  }
  // Exported without its final NUL: the registry editor's NUL is no difference, anything more is.
  EXPECT_EQ(JudgeValue(1, "ab", true, 1, std::string("ab\0", 3)), Arrival::Arrived);
  EXPECT_EQ(JudgeValue(7, "a", true, 7, std::string("a\0", 2)), Arrival::Arrived);
  EXPECT_EQ(JudgeValue(3, "ab", true, 3, std::string("ab\0", 3)), Arrival::Differs);
  EXPECT_EQ(JudgeValue(1, "ab", true, 1, std::string("ab\0\0", 4)), Arrival::Differs);
  EXPECT_EQ(JudgeValue(1, "ab", true, 1, std::string("ax\0", 3)), Arrival::Differs);
  EXPECT_EQ(JudgeEntry(10, 0xABCD, true, 10, 0xABCD), Arrival::Arrived);
  EXPECT_EQ(JudgeEntry(10, 0xABCD, true, 11, 0xABCD), Arrival::Differs);
  EXPECT_EQ(JudgeEntry(10, 0xABCD, true, 10, 0xABCE), Arrival::Differs);
  EXPECT_EQ(JudgeEntry(10, 0xABCD, false, 0, 0), Arrival::Missing);
}

class RestoreReportTest : public ::testing::Test {
 protected:
  RestoreReportTest() { m_log.begin("Restore"); }

  bool summaryHas(const std::string& text) {
    const auto lines = m_log.summary();
    return std::any_of(lines.begin(), lines.end(),
                       [&](const std::string& line) { return line == text; });
  }

  platform::testing::TestMachine m_test;
  RunLog m_log{m_test.files(), [] { return std::string("T"); }};
  RestoreReport m_report;
};

TEST_F(RestoreReportTest, PassedOverIsNoFailureWhenEverythingCapturedArrived) {
  m_report.addExport("Desktop_HKCU.mig", {{"HKEY_CURRENT_USER\\X \"A\"", Arrival::Arrived, {}}});
  m_report.addArchive("migfiles.mig", {{"a.doc -> C:\\a.doc", Arrival::Arrived, {}}});
  m_report.addPrinter({"\\\\PRNSRV\\Laser1", Arrival::PassedOver, "listed in printers.log"});
  m_report.addDrive({"G: \\\\SRV\\DATA", Arrival::Arrived, {}});
  m_report.addRoutine("RestoreScreenSaver", RoutineOutcome::passedOver("Windows 95/98"));
  m_report.writeTo(m_log);

  EXPECT_TRUE(m_report.complete());
  EXPECT_EQ(m_log.failures(), 0u);
  EXPECT_EQ(m_report.statusText(), "Restore: everything arrived");
  EXPECT_TRUE(summaryHas("  registry values in place: 1 of 1 (1 export)"));
  EXPECT_TRUE(summaryHas("  archived files in place: 1 of 1"));
  EXPECT_TRUE(summaryHas("  printers present: 0 of 0 (1 passed over)"));
  EXPECT_TRUE(summaryHas("  placement routines: 0 done, 1 passed over, 0 failed"));
  EXPECT_TRUE(summaryHas("  restore report: everything arrived"));
}

TEST_F(RestoreReportTest, EachThingThatDidNotArriveIsAFailureTheSummaryNames) {
  m_report.masterFileUnreadable("C:\\m\\master.mig", platform::ERROR_PATH_NOT_FOUND);
  m_report.addExport("Office_HKCU.mig", {{"K \"same\"", Arrival::Arrived, {}},
                                         {"K \"other\"", Arrival::Differs,
                                          "exported type 1, 2 bytes, now type 1, 3 bytes"},
                                         {"K \"gone\"", Arrival::Missing, "no such key"}});
  m_report.addExport("IE_HKCU.mig", {}, "not imported: no REGEDIT4 header");
  m_report.addArchive("migfiles.mig", {{"../x -> C:\\..\\x", Arrival::Refused, {}}});
  m_report.addPrinter({"Front Desk", Arrival::Missing, "the driver catalogue did not install X"});
  m_report.addRoutine("MoveMyDocuments", RoutineOutcome::failed("kept c:\\my documents"));
  m_report.writeTo(m_log);

  EXPECT_FALSE(m_report.complete());
  EXPECT_EQ(m_log.failures(), 6u);
  EXPECT_TRUE(
      summaryHas("  failed: registry Office_HKCU.mig: 2 of 3 values did not arrive "
                 "(1 differs, 1 missing)"));
  EXPECT_TRUE(summaryHas("  failed: registry IE_HKCU.mig: not imported: no REGEDIT4 header"));
  EXPECT_TRUE(
      summaryHas("  failed: archive migfiles.mig: 1 of 1 entry did not arrive (1 refused)"));
  EXPECT_TRUE(
      summaryHas("  failed: printer Front Desk: not present (the driver catalogue did not "
                 "install X)"));
  EXPECT_TRUE(summaryHas("  failed: MoveMyDocuments: failed (kept c:\\my documents)"));
  EXPECT_TRUE(summaryHas("  restore report: not everything arrived"));
  EXPECT_EQ(m_report.statusText(), "Restore: the master command file could not be read");
}

TEST_F(RestoreReportTest, TheStatusLineCountsWhatDidNotArriveByKind) {
  m_report.addExport("a.mig",
                     {{"K \"1\"", Arrival::Missing, {}}, {"K \"2\"", Arrival::Differs, {}}});
  m_report.addArchive("migfiles.mig", {{"x", Arrival::Missing, {}}}, "");
  m_report.addDrive({"G: \\\\SRV\\DATA", Arrival::Missing, {}});
  EXPECT_EQ(m_report.statusText(),
            "Restore: not arrived: 2 registry values, 1 file, 1 network drive");
}

TEST_F(RestoreReportTest, AGroupNamesTheFirstOnesThatDidNotArriveAndCountsTheRest) {
  m_log.setFolder("C:\\");
  std::vector<Item> values;
  for (int i = 0; i < 25; ++i)
    values.push_back({"K \"v" + std::to_string(i) + "\"", Arrival::Missing, {}});
  m_report.addExport("big.mig", values);
  m_report.writeTo(m_log);
  m_log.end();
  const std::string text = m_test.readFile("C:\\migrate.log");
  EXPECT_NE(text.find("  missing: K \"v19\"\r\n  and 5 more\r\n"), std::string::npos) << text;
  EXPECT_EQ(text.find("K \"v20\""), std::string::npos);
  EXPECT_EQ(m_log.failures(), 1u);
}

}  // namespace
}  // namespace migration
