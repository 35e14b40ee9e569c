// The file lock that keeps two runs out of one migration directory: one holder at a time, in
// this process or another, and a holder that dies frees it.
#include "platform/file_lock.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "native_file_system.h"
#include "platform/testing/temporary_machine_root.h"

namespace platform {
namespace {

class FileLockTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_root.addDrive('C');
    m_root.writeFile("drive_c/Mig/keep.txt", "");
  }
  testing::TemporaryMachineRoot m_root;
  NativeFileSystem m_files{m_root.path()};
};

TEST_F(FileLockTest, OneHolderAtATimeAndFreeAgainOnceReleased) {
  auto first = m_files.lockFile("C:\\Mig\\run.lck");
  ASSERT_TRUE(first) << first.status();
  EXPECT_TRUE(m_files.fileExists("C:\\Mig\\run.lck"));
  // Another name for the same file is the same lock.
  EXPECT_EQ(m_files.lockFile("c:\\mig\\RUN.LCK").status(), ERROR_SHARING_VIOLATION);
  first->reset();
  EXPECT_TRUE(m_files.lockFile("C:\\Mig\\run.lck"));
}

TEST_F(FileLockTest, NoFolderToHoldTheLockFile) {
  EXPECT_EQ(m_files.lockFile("C:\\Missing\\run.lck").status(), ERROR_PATH_NOT_FOUND);
  EXPECT_EQ(m_files.lockFile("C:\\Mig").status(), ERROR_ACCESS_DENIED);
}

// A run killed while it holds the lock (a crash, a reset machine) does not block the next one.
TEST_F(FileLockTest, AnotherProcessHoldsItUntilItDies) {
  int ready[2];
  ASSERT_EQ(::pipe(ready), 0);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    NativeFileSystem files(m_root.path());
    auto held = files.lockFile("C:\\Mig\\run.lck");
    const char answer = held ? 'y' : 'n';
    if (::write(ready[1], &answer, 1) != 1) ::_exit(2);
    for (;;) ::pause();
  }
  ::close(ready[1]);
  char answer = 0;
  ASSERT_EQ(::read(ready[0], &answer, 1), 1);
  ::close(ready[0]);
  ASSERT_EQ(answer, 'y');
  EXPECT_EQ(m_files.lockFile("C:\\Mig\\run.lck").status(), ERROR_SHARING_VIOLATION);
  ::kill(child, SIGKILL);
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  EXPECT_TRUE(m_files.lockFile("C:\\Mig\\run.lck"));
}

}  // namespace
}  // namespace platform
