// The pieces of the file scan that tables show best: the exclude rule, the pattern list of a
// selection, the tree copy, and the progress window around a scan.
#include <gtest/gtest.h>

#include "frame/frm_main.h"
#include "platform/text_file.h"
#include "scan/frm_message.h"
#include "scan/mdl_exclude.h"
#include "scan/mdl_file_search.h"
#include "scan/mdl_file_types.h"
#include "testing/test_program.h"

namespace migration {
namespace {

struct ExcludeCase {
  std::vector<std::string> entries;
  std::string path;
  bool excluded;
};

void PrintTo(const ExcludeCase& exclude, std::ostream* out) {
  *out << ::testing::PrintToString(exclude.path);
}

class IsExcludedTest : public ::testing::TestWithParam<ExcludeCase> {};

TEST_P(IsExcludedTest, MatchesAnyEntryAnywhereInThePath) {
  Configuration config;
  config.arrExcludeList = GetParam().entries;
  EXPECT_EQ(IsExcluded(config, GetParam().path), GetParam().excluded);
}

INSTANTIATE_TEST_SUITE_P(
    Entries, IsExcludedTest,
    ::testing::Values(ExcludeCase{{"c:\\winnt"}, "C:\\WINNT", true},
                      ExcludeCase{{"c:\\winnt"}, "C:\\winnt\\system32", true},
                      ExcludeCase{{"c:\\winnt"}, "C:\\WINNT.OLD", true},
                      ExcludeCase{{"c:\\winnt"}, "C:\\Program Files", false},
                      ExcludeCase{{"c:\\winnt"}, "D:\\c\\winnt", false},
                      ExcludeCase{{"c:\\winnt", "temp"}, "D:\\Users\\MyTemp\\x", true},
                      ExcludeCase{{"c:\\winnt", ""}, "D:\\Anything", true},
                      ExcludeCase{{}, "C:\\WINNT", false},
                      // Upper-casing follows the ANSI code page, not just ASCII.
                      ExcludeCase{{"c:\\\xe9t\xe9"}, "C:\\\xc9T\xc9\\x", true}));

struct PatternCase {
  std::vector<std::size_t> standard;
  forms::CheckState custom;
  std::vector<std::string> customRows;
  std::string patterns;
};

void PrintTo(const PatternCase& pattern, std::ostream* out) {
  *out << ::testing::PrintToString(pattern.patterns);
}

class GetFilePatternsTest : public ::testing::TestWithParam<PatternCase> {
 protected:
  testing::TestProgram m_test;
};

TEST_P(GetFilePatternsTest, JoinsTheSelectedTypes) {
  frmMain& form = m_test.program().sharedForm<frmMain>();
  for (const std::size_t index : GetParam().standard)
    form.lstStandardFiles.setSelected(index, true);
  for (const std::string& type : GetParam().customRows) form.lvType.add({type, {}, false});
  form.chkCustom.setValue(GetParam().custom);
  EXPECT_EQ(GetFilePatterns(m_test.program()), GetParam().patterns);
}

using forms::CheckState;
INSTANTIATE_TEST_SUITE_P(
    Selections, GetFilePatternsTest,
    ::testing::Values(PatternCase{{0}, CheckState::Unchecked, {"abc"}, "*.doc;*.dot;*.rtf"},
                      PatternCase{{1, 7},
                                  CheckState::Checked,
                                  {"abc", "txt"},
                                  "*.xls;*.xla;*.xle;*.zip;*.arj;*.lhz;*.rar;*.ace;*.abc;*.txt"},
                      PatternCase{{4, 6, 8},
                                  CheckState::Unchecked,
                                  {},
                                  "*.prj;*.ppj;*.jpg;*.jpeg;*.gif;*.tif;*.tiff;*.bmp;*.psd;*.pdf;*.rmp;*.kmp"},
                      PatternCase{{1}, CheckState::Checked, {"xls", ""}, "*.xls;*.xla;*.xle;*.xls;*."},
                      PatternCase{{}, CheckState::Grayed, {"abc"}, ""},
                      PatternCase{{}, CheckState::Checked, {"abc"}, "*.abc"},
                      PatternCase{{}, CheckState::Checked, {}, ""}));

// Every extension a list text names is searched: a user who ticks a type keeps all its files.
TEST(FileTypeCatalogTest, EachTypeSearchesEveryExtensionItsTextNames) {
  testing::TestProgram test;
  const forms::ListBox& types = test.program().sharedForm<frmMain>().lstStandardFiles;
  ASSERT_EQ(types.count(), kStandardFilePatterns.size());
  for (std::size_t i = 0; i < types.count(); ++i) {
    const std::string text = types.item(i);
    const forms::PatternList searched(kStandardFilePatterns[i]);
    std::size_t named = 0;
    for (std::size_t star = text.find("*."); star != std::string::npos;
         star = text.find("*.", star + 1)) {
      const std::size_t end = text.find_first_of(",) ", star);
      const std::string extension = text.substr(star + 2, end - star - 2);
      EXPECT_TRUE(searched.matches("file." + extension)) << text << ": ." << extension;
      ++named;
    }
    EXPECT_GT(named, 0u) << text;
  }
}

class CopyTreeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* file : {"C:\\Src\\top.url", "C:\\Src\\top.txt", "C:\\Src\\A\\a.url",
                             "C:\\Src\\A\\Deep\\d.url", "C:\\Src\\B\\b.url"}) {
      makeFile(file, "new");
    }
    makeFile("C:\\Tgt\\top.url", "old");
    ASSERT_EQ(files().createFolder("C:\\Tgt\\A"), platform::ERROR_SUCCESS);
  }

  void makeFile(const std::string& path, const std::string& bytes) {
    for (std::size_t i = 3; i < path.size(); ++i) {
      if (path[i] == '\\') platform::ignoreFailure(files().createFolder(path.substr(0, i)), "a folder of the test machine");
    }
    m_test.writeFile(path, bytes);
  }
  std::string content(const std::string& path) {
    return platform::readWholeFile(files(), path).valueOr("<missing>");
  }
  platform::FileSystem& files() { return m_test.files(); }

  testing::TestProgram m_test;
};

TEST_F(CopyTreeTest, StopsAtASubdirectoryMissingFromTheTarget) {
  EXPECT_FALSE(CopyTree(files(), "c:\\src", "C:\\Tgt\\", Subfolders::Enter, "*.url"));
  EXPECT_EQ(content("C:\\Tgt\\top.url"), "new");
  EXPECT_EQ(content("C:\\Tgt\\A\\a.url"), "new");
  EXPECT_EQ(content("C:\\Tgt\\top.txt"), "<missing>");
  // Neither directory is created: A\Deep and B have no counterpart, so nothing lands there.
  EXPECT_FALSE(files().folderExists("C:\\Tgt\\A\\Deep"));
  EXPECT_FALSE(files().folderExists("C:\\Tgt\\B"));
}

TEST_F(CopyTreeTest, SkippingSubfoldersCopiesOnlyTheTopLevel) {
  EXPECT_TRUE(CopyTree(files(), "C:\\Src\\", "C:\\Tgt", Subfolders::Skip, "*.*"));
  EXPECT_EQ(content("C:\\Tgt\\top.url"), "new");
  EXPECT_EQ(content("C:\\Tgt\\top.txt"), "new");
  EXPECT_EQ(content("C:\\Tgt\\A\\a.url"), "<missing>");
}

TEST_F(CopyTreeTest, HiddenEntriesAreNeitherCopiedNorEntered) {
  makeFile("C:\\Src\\hidden.url", "h");
  ASSERT_EQ(files().setAttributes("C:\\Src\\hidden.url", platform::FILE_ATTRIBUTE_HIDDEN), platform::ERROR_SUCCESS);
  ASSERT_EQ(files().setAttributes("C:\\Src\\B", platform::FILE_ATTRIBUTE_HIDDEN), platform::ERROR_SUCCESS);
  EXPECT_TRUE(CopyTree(files(), "C:\\Src", "C:\\Tgt", Subfolders::Enter, "*.url"));
  EXPECT_EQ(content("C:\\Tgt\\hidden.url"), "<missing>");
  EXPECT_EQ(content("C:\\Tgt\\A\\a.url"), "new");
}

TEST(ScanProgressTest, TheProgressWindowIsUpWhileTheScanRuns) {
  testing::TestProgram test;
  test.writeFile("C:\\a.doc", "a");
  platform::ignoreFailure(test.files().createFolder("C:\\Docs"), "a folder of the test machine");
  test.writeFile("C:\\Docs\\b.doc", "b");
  frmMain& form = test.program().sharedForm<frmMain>();
  form.lstStandardFiles.setSelected(0, true);
  bool shownDuringScan = false;
  test.ui().atDoEvents(1, "look at the progress window", [&] {
    const frmMessage& progress = test.program().sharedForm<frmMessage>();
    shownDuringScan =
        progress.visible() && progress.topmost() && !progress.lblMessage.caption().empty();
  });
  form.cmdFileScan_Click(0);
  EXPECT_TRUE(shownDuringScan);
  EXPECT_FALSE(test.program().sharedForm<frmMessage>().loaded());
  EXPECT_EQ(form.lvFiles.count(), 2u);
}

// What the status line says while the scan command searches C: and then D:, each time the scan
// lets the window breathe: the directory being searched, and the rows of the whole list.
TEST(ScanProgressTest, TheStatusLineFollowsBothSearches) {
  testing::TestProgram test;
  test.addDrive('d');
  test.writeFile("C:\\a.doc", "a");
  platform::ignoreFailure(test.files().createFolder("C:\\Docs"), "a folder of the test machine");
  test.writeFile("C:\\Docs\\b.doc", "b");
  platform::ignoreFailure(test.files().createFolder("D:\\Sub"), "a folder of the test machine");
  test.writeFile("D:\\Sub\\e.doc", "e");
  frmMain& form = test.program().sharedForm<frmMain>();
  form.lstStandardFiles.setSelected(0, true);
  std::vector<std::string> seen;
  for (std::uint64_t event = 1; event <= 2; ++event) {
    test.ui().atDoEvents(event, "read the status line", [&] {
      seen.push_back(form.sbMain.panelText(1) + " | " + form.sbMain.panelText(2));
    });
  }
  form.cmdFileScan_Click(0);
  EXPECT_EQ(seen, (std::vector<std::string>{"Scanning c:\\ for files... | Found 1 Files",
                                            "Scanning D:\\ for files... | Found 2 Files"}));
  EXPECT_EQ(form.sbMain.panelText(1), "Ready");
  EXPECT_EQ(form.sbMain.panelText(2), "Found 3 Files");
}

// Each folder is entered once, whatever path leads to it: a link back to a parent is no loop,
// and two links to one folder list its files once.
TEST(ScanLinksTest, EachFolderIsEnteredOnce) {
  testing::TestProgram test;
  test.writeFile("C:\\Docs\\a.doc", "a");
  test.writeFile("C:\\Shared\\b.doc", "b");
  test.testMachine().linkFolder("C:\\Docs\\Loop", "C:\\Docs");
  test.testMachine().linkFolder("C:\\Docs\\Shared", "C:\\Shared");
  frmMain& form = test.program().sharedForm<frmMain>();
  ScanForFiles(test.program(), "C:\\Docs", "*.doc");
  ASSERT_EQ(form.lvFiles.count(), 2u);
  EXPECT_EQ(form.lvFiles.row(0).text, "C:\\Docs");
  EXPECT_EQ(form.lvFiles.row(1).text, "C:\\Docs\\Shared");
}

// The data drive is searched after the chosen one, but never twice: chosen as D:, it is listed
// once. While the scan runs its commands are disabled, so that a second click cannot start a
// second scan into the same list.
TEST(ScanCommandTest, EachRootOnceAndNoSecondScanWhileOneRuns) {
  testing::TestProgram test;
  test.addDrive('d');
  test.writeFile("D:\\Sub\\e.doc", "e");
  frmMain& form = test.program().sharedForm<frmMain>();
  form.lstStandardFiles.setSelected(0, true);
  ASSERT_TRUE(form.drvScan.setDrive("d:"));
  bool scanEnabledDuringScan = true;
  test.ui().atDoEvents(1, "look at the scan button",
                       [&] { scanEnabledDuringScan = form.cmdFileScan[0].enabled(); });
  form.cmdFileScan_Click(0);
  EXPECT_FALSE(scanEnabledDuringScan);
  EXPECT_TRUE(form.cmdFileScan[0].enabled());
  EXPECT_TRUE(form.cmdFileScan[1].enabled());
  EXPECT_EQ(form.lvFiles.count(), 1u);
}

}  // namespace
}  // namespace migration
