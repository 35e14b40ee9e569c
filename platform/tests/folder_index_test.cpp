#include "folder_index.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/magic.h>
#include <stdio.h>
#include <unistd.h>

#include <filesystem>
#include <random>
#include <string>

#include "host_files.h"

#include "platform/testing/temporary_machine_root.h"

namespace platform {
namespace {

namespace fs = std::filesystem;

class FolderIndexTest : public ::testing::Test {
 protected:
  FolderIndexTest() : folder(root.path() / "folder") { fs::create_directories(folder); }

  // Makes an entry on the host, behind the index's back, as another process would.
  void make(const std::string& hostName) const {
    const int fd = ::open((folder / hostName).c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
    ASSERT_GE(fd, 0) << hostName;
    ::close(fd);
  }

  // The host name the index finds for an ANSI name, "" for none.
  std::string found(const std::string& name) {
    const fs::path path = index.find(folder, name);
    return path.empty() ? std::string() : path.filename().string();
  }

  testing::TemporaryMachineRoot root;
  fs::path folder;
  FolderIndex index;
};

TEST_F(FolderIndexTest, FindsNamesWithoutCaseTheExactNameFirst) {
  for (const char* name : {"Report.doc", "REPORT.DOC", "\xC3\x89t\xC3\xA9.txt", "Notes"})
    make(name);
  struct Row {
    const char* name;  // ANSI
    const char* host;  // UTF-8
  };
  const Row rows[] = {
      {"Report.doc", "Report.doc"},
      {"REPORT.DOC", "REPORT.DOC"},
      {"\xC9T\xC9.TXT", "\xC3\x89t\xC3\xA9.txt"},  // accented letters fold as Windows-1252 does
      {"notes", "Notes"},
      {"missing.txt", ""},
      {"Note", ""},
  };
  // Twice: the first round makes the index, the second answers from it.
  for (int round = 0; round < 2; ++round) {
    for (const Row& row : rows) EXPECT_EQ(found(row.name), row.host) << row.name;
  }
  const std::string either = found("report.doc");
  EXPECT_TRUE(either == "Report.doc" || either == "REPORT.DOC") << either;
}

TEST_F(FolderIndexTest, SeesWhatOthersChangeInTheFolder) {
  EXPECT_EQ(found("new.txt"), "");
  make("NEW.TXT");
  EXPECT_EQ(found("new.txt"), "NEW.TXT");
  fs::rename(folder / "NEW.TXT", folder / "Other.txt");
  EXPECT_EQ(found("new.txt"), "");
  EXPECT_EQ(found("OTHER.TXT"), "Other.txt");
  fs::remove(folder / "Other.txt");
  EXPECT_EQ(found("other.txt"), "");

  // Another folder under the same name, and then none at all.
  fs::rename(folder, root.path() / "old");
  fs::create_directories(folder);
  make("Fresh.txt");
  EXPECT_EQ(found("FRESH.TXT"), "Fresh.txt");
  fs::remove_all(folder);
  EXPECT_EQ(found("fresh.txt"), "");
}

// Swapping two names by rename reports the second name removed after it came back.
TEST_F(FolderIndexTest, NamesSwappedByRenameAreStillFound) {
  fs::create_directories(root.path() / "beside");
  make("Alpha.txt");
  make("Beta.txt");
  ::close(::open((root.path() / "beside" / "Gamma.txt").c_str(), O_WRONLY | O_CREAT, 0644));
  EXPECT_EQ(found("none"), "");  // the folder is indexed from here on
  EXPECT_EQ(index.find(root.path() / "beside", "none"), fs::path());

  if (::renameat2(AT_FDCWD, (folder / "Alpha.txt").c_str(), AT_FDCWD,
                  (folder / "Beta.txt").c_str(), RENAME_EXCHANGE) != 0) {
    GTEST_SKIP() << "this file system cannot swap names";
  }
  ASSERT_EQ(::renameat2(AT_FDCWD, (folder / "Alpha.txt").c_str(), AT_FDCWD,
                        (root.path() / "beside" / "Gamma.txt").c_str(), RENAME_EXCHANGE),
            0);
  EXPECT_EQ(found("ALPHA.TXT"), "Alpha.txt");
  EXPECT_EQ(found("BETA.TXT"), "Beta.txt");
  EXPECT_EQ(index.find(root.path() / "beside", "GAMMA.TXT"), root.path() / "beside" / "Gamma.txt");
}

// Whatever is made, renamed, swapped and removed, the index answers as a scan of the folder.
TEST_F(FolderIndexTest, AnswersAsAScanAfterEveryChange) {
  const char* names[] = {"a.txt", "A.TXT", "b.txt", "B.txt", "\xC3\xA9.txt", "\xC3\x89.TXT"};
  const auto host = [&](std::size_t i) { return folder / names[i]; };
  std::mt19937 random(12345);
  for (int step = 0; step < 3000; ++step) {
    const std::size_t from = random() % std::size(names);
    const std::size_t to = random() % std::size(names);
    switch (random() % 4) {
      case 0:
        make(names[from]);
        break;
      case 1:
        ::rename(host(from).c_str(), host(to).c_str());
        break;
      case 2:
        ::renameat2(AT_FDCWD, host(from).c_str(), AT_FDCWD, host(to).c_str(), RENAME_EXCHANGE);
        break;
      default:
        ::unlink(host(from).c_str());
    }
    for (const char* wanted : {"A.txt", "b.TXT", "\xC9.txt"}) {
      const std::string ansi = wanted;
      ASSERT_EQ(index.find(folder, ansi).empty(), findHostEntry(folder, ansi).empty())
          << "step " << step << ", " << ansi;
    }
  }
}

TEST(FolderIndex, IndexesOnlyFileSystemsThatReportEveryChange) {
  const unsigned long locals[] = {EXT4_SUPER_MAGIC, TMPFS_MAGIC, XFS_SUPER_MAGIC};
  for (const unsigned long local : locals) {
    EXPECT_TRUE(FolderIndex::reportsEveryChange(local)) << std::hex << local;
  }
  // Network and FUSE file systems make names that this host's kernel never reports.
  const unsigned long others[] = {NFS_SUPER_MAGIC,  SMB_SUPER_MAGIC, CIFS_SUPER_MAGIC,
                                  FUSE_SUPER_MAGIC, V9FS_MAGIC,      0x12345678ul};
  for (const unsigned long other : others) {
    EXPECT_FALSE(FolderIndex::reportsEveryChange(other)) << std::hex << other;
  }
}

TEST_F(FolderIndexTest, MoreChangesThanTheKernelQueuesAreNotLost) {
  make("First.txt");
  EXPECT_EQ(found("last.txt"), "");
  // Past the kernel's queue of changes (16384 by default), which then reports an overflow.
  for (int i = 0; i < 8400; ++i) {
    fs::rename(folder / "First.txt", folder / "Second.txt");
    fs::rename(folder / "Second.txt", folder / "First.txt");
  }
  fs::rename(folder / "First.txt", folder / "Last.TXT");
  EXPECT_EQ(found("last.txt"), "Last.TXT");
  EXPECT_EQ(found("first.txt"), "");
  EXPECT_EQ(found("second.txt"), "");
}

TEST_F(FolderIndexTest, ManyFoldersStayWithinTheLimitAndRight) {
  const std::size_t count = FolderIndex::kMaxFolders + 20;
  for (std::size_t i = 0; i < count; ++i) {
    fs::create_directories(folder / std::to_string(i));
    make(std::to_string(i) + "/Name.txt");
  }
  for (int round = 0; round < 2; ++round) {
    for (std::size_t i = 0; i < count; ++i) {
      const fs::path path = index.find(folder / std::to_string(i), "NAME.TXT");
      EXPECT_EQ(path, folder / std::to_string(i) / "Name.txt");
    }
  }
  EXPECT_LE(index.indexedFolders(), FolderIndex::kMaxFolders);
}

}  // namespace
}  // namespace platform
