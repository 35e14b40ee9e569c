// The archive the copy writes, read back by the peers: `unzip -t` must pass and the entries,
// their comments and the archive comment must be what the copy put there.
#include <gtest/gtest.h>

#include <sys/resource.h>

#include <array>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <vector>

#include "frame/frm_main.h"
#include "platform/text_file.h"
#include "scan/mdl_file_copy.h"
#include "scan/mdl_file_search.h"
#include "testing/test_program.h"

namespace migration {
namespace {

// Runs a host command; its standard output, and its exit status in `status`.
std::string run(const std::string& command, int& status) {
  std::string output;
  FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
  if (pipe == nullptr) {
    status = -1;
    return output;
  }
  std::array<char, 4096> buffer{};
  while (std::size_t got = std::fread(buffer.data(), 1, buffer.size(), pipe))
    output.append(buffer.data(), got);
  status = ::pclose(pipe);
  return output;
}

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> out;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find('\n', start);
    out.push_back(text.substr(start, end - start));
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return out;
}

// Files this process writes cannot grow past `bytes`, as on a full disk; undone at the end.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) : m_previousHandler(std::signal(SIGXFSZ, SIG_IGN)) {
    ::getrlimit(RLIMIT_FSIZE, &m_previous);
    const rlimit limit{bytes, m_previous.rlim_max};
    EXPECT_EQ(::setrlimit(RLIMIT_FSIZE, &limit), 0);
  }
  ~FileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &m_previous);
    std::signal(SIGXFSZ, m_previousHandler);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  rlimit m_previous{};
  void (*m_previousHandler)(int);
};

class FileCopyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    installZipComponent();
    for (const char* folder :
         {"C:\\Docs", "C:\\Extra", "C:\\Mig", "C:\\Mig\\migration", "C:\\Out"}) {
      ASSERT_EQ(files().createFolder(folder), platform::ERROR_SUCCESS) << folder;
    }
    m_test.writeFile("C:\\a.doc", "first");
    m_test.writeFile("C:\\Docs\\b.doc", "second");
    m_test.writeFile("C:\\Docs\\c.doc", "third");
    m_test.writeFile("C:\\Extra\\one.ini", "1");
    m_test.writeFile("C:\\Extra\\two.ini", "2");
    program().session.strAppPath = "C:\\Transvale";
    program().session.strUserName = "jsmith";
    form().txtMigrateDir.setText("C:\\Mig");
    form().txtFileDir.setText("C:\\Out");
  }

  // The component's library beside the program, before the main window looks for it. A link
  // spares copying a library that carries its debugging information.
  void installZipComponent() {
    const std::filesystem::path library = PARCELON_LIBRARY_PATH;
    std::filesystem::create_symlink(library,
                                    hostPath("C:\\Transvale\\" + library.filename().string()));
  }

  std::string hostPath(const std::string& driveCPath) {
    return m_test.testMachine().hostPath(driveCPath).string();
  }

  // `unzip -t` passes; then the archive comment, and each entry's name and comment on a line.
  std::string checkedListing(const std::string& archive) {
    const std::string host = "'" + hostPath(archive) + "'";
    int status = 0;
    const std::string tested = run("unzip -t " + host, status);
    EXPECT_EQ(status, 0) << tested;
    std::string listing = run("unzip -zq " + host, status);
    const auto names = lines(run("zipinfo -1 " + host, status));
    const auto comments =
        lines(run("zipinfo -v " + host + " | sed -n '/ file comment begins/{n;p}'", status));
    EXPECT_EQ(names.size(), comments.size());
    for (std::size_t i = 0; i < names.size() && i < comments.size(); ++i) {
      listing += names[i] + " | " + comments[i] + "\n";
    }
    return listing;
  }

  std::string content(const std::string& path) {
    return platform::readWholeFile(files(), path).valueOr("<missing>");
  }

  Program& program() { return m_test.program(); }
  frmMain& form() { return program().sharedForm<frmMain>(); }
  platform::FileSystem& files() { return m_test.files(); }

  testing::TestProgram m_test;
};

TEST_F(FileCopyTest, SelectedRowsThenScriptFilesUpToTheEmptyLine) {
  m_test.writeFile("C:\\Transvale\\script.mig",
                   "HKEY_CURRENT_USER\\Software\\Example\r\nC:\\Extra\\one.ini\r\n"
                   "hkey_local_machine\\Software\\X\r\n\r\nC:\\Extra\\two.ini\r\n");
  ScanForFiles(program(), "C:\\", "*.doc");
  ASSERT_EQ(form().lvFiles.count(), 3u);
  form().lvFiles.setSelected(0, true);  // C:\a.doc
  form().lvFiles.setSelected(2, true);  // C:\Docs\c.doc

  ASSERT_EQ(CopySelectedFiles(program(), "C:\\Out"), platform::ERROR_SUCCESS);
  EXPECT_EQ(checkedListing("C:\\Out\\migfiles.mig"),
            "Migrated Files\n"
            "a.doc | Migrated File\n"
            "Docs/c.doc | Migrated File\n"
            "Extra/one.ini | Migrated File\n");
  EXPECT_EQ(content("C:\\Mig\\migration\\oldfile.cfg"), "C:\\Out\\migfiles.mig\r\nTrue\r\n");
  EXPECT_EQ(form().sbMain.panelText(2), "Copied 3 Files");
  EXPECT_TRUE(m_test.ui().messages().empty());
}

TEST_F(FileCopyTest, WithoutSavedDirectoriesEntriesAreBareNames) {
  form().chkSaveDir.setValue(forms::CheckState::Grayed);
  ScanForFiles(program(), "C:\\Docs", "*.doc");
  form().Select_All();
  ASSERT_EQ(CopySelectedFiles(program(), "C:\\Out\\"), platform::ERROR_SUCCESS);
  EXPECT_EQ(checkedListing("C:\\Out\\migfiles.mig"),
            "Migrated Files\nb.doc | Migrated File\nc.doc | Migrated File\n");
  EXPECT_EQ(content("C:\\Mig\\migration\\oldfile.cfg"), "C:\\Out\\migfiles.mig\r\nFalse\r\n");
}

TEST_F(FileCopyTest, AnArchiveThatCannotBeCreatedIsReportedAndNothingIsWritten) {
  ScanForFiles(program(), "C:\\", "*.doc");
  form().Select_All();
  EXPECT_NE(CopySelectedFiles(program(), "C:\\NoSuchFolder"), platform::ERROR_SUCCESS);
  ASSERT_EQ(m_test.ui().messages().size(), 1u);
  EXPECT_EQ(m_test.ui().messages()[0].box.title, "Archive Not Written");
  EXPECT_EQ(content("C:\\Mig\\migration\\oldfile.cfg"), "<missing>");
  EXPECT_EQ(form().sbMain.panelText(1), "Ready");
}

TEST_F(FileCopyTest, AFileGoneSinceTheScanIsLeftOutAndNamed) {
  ScanForFiles(program(), "C:\\Docs", "*.doc");
  form().Select_All();
  ASSERT_EQ(files().deleteFile("C:\\Docs\\b.doc", platform::Force::No), platform::ERROR_SUCCESS);
  ASSERT_EQ(CopySelectedFiles(program(), "C:\\Out"), platform::ERROR_SUCCESS);
  EXPECT_EQ(checkedListing("C:\\Out\\migfiles.mig"),
            "Migrated Files\nDocs/c.doc | Migrated File\n");
  EXPECT_EQ(form().sbMain.panelText(2), "Copied 2 Files");
  ASSERT_EQ(m_test.ui().messages().size(), 1u);
  EXPECT_EQ(m_test.ui().messages()[0].box.prompt,
            "These files could not be added to the archive C:\\Out\\migfiles.mig:\r\n"
            "C:\\Docs\\b.doc (no longer there)");
}

// A row or a script entry naming the archive being written (an older copy found by a scan,
// or typed into the script) is left out: the archive cannot hold itself.
TEST_F(FileCopyTest, TheArchiveIsNeverAddedToItself) {
  m_test.writeFile("C:\\Out\\migfiles.mig", "an older archive");
  m_test.writeFile("C:\\Transvale\\script.mig", "c:\\out\\MIGFILES.MIG\r\n");
  ScanForFiles(program(), "C:\\Out", "*.mig");
  ScanForFiles(program(), "C:\\Docs", "*.doc");
  form().Select_All();
  ASSERT_EQ(CopySelectedFiles(program(), "C:\\Out"), platform::ERROR_SUCCESS);
  EXPECT_EQ(checkedListing("C:\\Out\\migfiles.mig"),
            "Migrated Files\nDocs/b.doc | Migrated File\nDocs/c.doc | Migrated File\n");
  EXPECT_EQ(form().sbMain.panelText(2), "Copied 4 Files");
  ASSERT_EQ(m_test.ui().messages().size(), 1u);
  EXPECT_EQ(m_test.ui().messages()[0].box.prompt,
            "These files could not be added to the archive C:\\Out\\migfiles.mig:\r\n"
            "C:\\Out\\migfiles.mig (the archive itself)\r\nc:\\out\\MIGFILES.MIG (the archive itself)");
}

// An archive that cannot be finished (the disk fills while its directory is written) is
// reported; neither it nor a pointer to it stays, and the copy does not count as made.
TEST_F(FileCopyTest, AnArchiveThatCannotBeFinishedIsRemovedWithItsPointer) {
  ScanForFiles(program(), "C:\\Docs", "*.doc");
  form().Select_All();
  form().cmdCopyFiles_Click(0);
  ASSERT_TRUE(form().bFilesCopied);
  const auto whole = files().fileInfo("C:\\Out\\migfiles.mig");
  ASSERT_TRUE(whole);
  form().bFilesCopied = false;
  {
    // The same archive again, on a disk one byte short of it.
    FileSizeLimit full(static_cast<rlim_t>(whole->size - 1));
    form().cmdCopyFiles_Click(0);
  }
  EXPECT_FALSE(form().bFilesCopied);
  ASSERT_EQ(m_test.ui().messages().size(), 1u);
  EXPECT_EQ(m_test.ui().messages()[0].box.title, "Archive Not Written");
  EXPECT_EQ(m_test.ui().messages()[0].box.prompt,
            "The archive C:\\Out\\migfiles.mig could not be written.\r\n"
            "The zip component could not finish it: the disk may be full.");
  EXPECT_EQ(content("C:\\Out\\migfiles.mig"), "<missing>");
  EXPECT_EQ(content("C:\\Mig\\migration\\oldfile.cfg"), "<missing>");
  EXPECT_EQ(form().sbMain.panelText(1), "Ready");
}

class ProfileBackupTest : public FileCopyTest {
 protected:
  void SetUp() override {
    FileCopyTest::SetUp();
    m_test.setRegistryText(platform::HKEY_LOCAL_MACHINE,
                           "System\\CurrentControlSet\\Control\\Session Manager\\Environment",
                           "windir", "C:\\WINNT");
    ASSERT_EQ(files().createFolder("C:\\Out\\migration"), platform::ERROR_SUCCESS);
    ASSERT_EQ(files().createFolder("C:\\Out\\migration\\files"), platform::ERROR_SUCCESS);
  }
};

TEST_F(ProfileBackupTest, ArchivesTheProfileWithEveryListedFile) {
  for (const char* folder : {"C:\\WINNT", "C:\\WINNT\\Profiles", "C:\\WINNT\\Profiles\\jsmith",
                             "C:\\WINNT\\Profiles\\jsmith\\Personal"}) {
    ASSERT_EQ(files().createFolder(folder), platform::ERROR_SUCCESS) << folder;
  }
  m_test.writeFile("C:\\WINNT\\Profiles\\jsmith\\Personal\\plan.dwg", "drawing");
  m_test.writeFile("C:\\WINNT\\Profiles\\jsmith\\Personal\\list.txt", "not searched");
  ScanForFiles(program(), "C:\\Docs", "*.doc");  // an earlier scan's rows, none selected

  BackupProfileFiles(program());
  EXPECT_EQ(form().lvFiles.count(), 3u);
  EXPECT_EQ(checkedListing("C:\\Out\\migration\\files\\migfiles.mig"),
            "Migrated Files\n"
            "Docs/b.doc | Migrated File\n"
            "Docs/c.doc | Migrated File\n"
            "WINNT/Profiles/jsmith/Personal/plan.dwg | Migrated File\n");
  // The pointer names the archive the backup wrote.
  EXPECT_EQ(content("C:\\Mig\\migration\\oldfile.cfg"),
            "C:\\Out\\migration\\files\\migfiles.mig\r\nTrue\r\n");
}

TEST_F(ProfileBackupTest, WithoutAProfileNothingHappens) {
  ScanForFiles(program(), "C:\\Docs", "*.doc");
  BackupProfileFiles(program());
  EXPECT_EQ(form().lvFiles.selectedRows().size(), 0u);
  EXPECT_EQ(content("C:\\Out\\migration\\files\\migfiles.mig"), "<missing>");
  EXPECT_EQ(content("C:\\Mig\\migration\\oldfile.cfg"), "<missing>");
}

}  // namespace
}  // namespace migration
