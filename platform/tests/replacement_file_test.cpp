// Rewriting a file beside itself: the new content arrives whole or not at all, and no temporary
// file stays behind either way.
#include "platform/replacement_file.h"

#include <gtest/gtest.h>

#include "native_file_system.h"
#include "platform/testing/faulty_machine.h"
#include "platform/testing/temporary_machine_root.h"

namespace platform {
namespace {

class ReplacementFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_root.addDrive('C');
    m_root.writeFile("drive_c/Mig/oldfile.cfg", "the last good one");
  }

  std::string content() {
    return readWholeFile(m_native, "C:\\Mig\\oldfile.cfg").valueOr("<missing>");
  }
  std::size_t filesInFolder() { return m_native.listFolder("C:\\Mig").valueOr({}).size(); }

  testing::TemporaryMachineRoot m_root;
  NativeFileSystem m_native{m_root.path()};
  testing::FaultyFileSystem m_files{m_native};
};

TEST_F(ReplacementFileTest, ANewFileReplacesTheOldOneWhole) {
  ASSERT_EQ(replaceWholeFile(m_files, "C:\\Mig\\oldfile.cfg", "new"), ERROR_SUCCESS);
  EXPECT_EQ(content(), "new");
  ASSERT_EQ(replaceTextFile(m_files, "C:\\Mig\\oldfile.cfg",
                            [](TextWriter& writer) { return writer.writeLine("line"); }),
            ERROR_SUCCESS);
  EXPECT_EQ(content(), "line\r\n");
  ASSERT_EQ(replaceWholeFile(m_files, "C:\\Mig\\new.cfg", "first"), ERROR_SUCCESS);
  EXPECT_EQ(readWholeFile(m_native, "C:\\Mig\\new.cfg").valueOr(""), "first");
  EXPECT_EQ(filesInFolder(), 2u);
}

TEST_F(ReplacementFileTest, AFailedWriteLeavesTheOldFileAsItWas) {
  m_files.countWritesTo({});
  m_files.failWriteNumber(1);
  EXPECT_EQ(replaceWholeFile(m_files, "C:\\Mig\\oldfile.cfg", "torn"), ERROR_DISK_FULL);
  EXPECT_EQ(replaceTextFile(m_files, "C:\\Mig\\oldfile.cfg",
                            [](TextWriter& writer) { return writer.writeLine("torn"); }),
            ERROR_DISK_FULL);
  EXPECT_EQ(content(), "the last good one");
  EXPECT_EQ(filesInFolder(), 1u);
}

TEST_F(ReplacementFileTest, ANewFileNotCommittedIsRemoved) {
  std::string temporary;
  {
    auto replacement = ReplacementFile::beside(m_files, "C:\\Mig\\oldfile.cfg");
    ASSERT_TRUE(replacement);
    temporary = replacement->temporaryPath();
    EXPECT_NE(temporary, "C:\\Mig\\oldfile.cfg");
    EXPECT_EQ(temporary.rfind("C:\\Mig\\", 0), 0u) << temporary;
    ASSERT_EQ(writeWholeFile(m_files, temporary, "half"), ERROR_SUCCESS);
  }
  EXPECT_FALSE(m_native.fileExists(temporary));
  EXPECT_EQ(content(), "the last good one");
  EXPECT_EQ(ReplacementFile::beside(m_files, "C:\\Missing\\x.cfg").status(), ERROR_PATH_NOT_FOUND);
}

}  // namespace
}  // namespace platform
