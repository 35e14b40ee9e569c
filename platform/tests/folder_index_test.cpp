#include "folder_index.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

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
