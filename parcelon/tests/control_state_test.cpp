// The control's state and the errors it raises, method by method.
#include <gtest/gtest.h>

#include "zip_fixture.h"

namespace parcelon::testing {
namespace {

TEST(ErrorTable, CodesNumbersAndTextsAreTheHostsOwn) {
  struct Row {
    ZipError error;
    std::uint32_t code;
    std::uint16_t number;
    const char* text;
  };
  const Row rows[] = {
      {ZipError::NotOpen, 0x800A7D00, 32000, "ZIP not open"},
      {ZipError::WrongPassword, 0x800A7D01, 32001, "Wrong password!"},
      {ZipError::NoPassword, 0x800A7D02, 32002, "No password!"},
      {ZipError::FormatError, 0x800A7D03, 32003, "ZIP file format error!"},
      {ZipError::NotFound, 0x800A7D04, 32004, "File not found in ZIP."},
      {ZipError::ReadError, 0x800A0039, 57, "Read error"},
      {ZipError::CouldntOpen, 0x800A0035, 53, "Couldn't open ZIP"},
  };
  for (const Row& row : rows) {
    const RaisedError raised = describe(row.error);
    EXPECT_EQ(raised.code, row.code) << row.text;
    EXPECT_EQ(raised.errorNumber(), row.number) << row.text;
    EXPECT_EQ(raised.text, row.text);
  }
}

class ControlState : public ZipTest {};

// Every query of the reader, when only a writer (or nothing) is open.
void expectReaderMethodsRaiseNotOpen(ParcelonCtrl& zip) {
  EXPECT_TRUE(raises(zip.FileCount(), ZipError::NotOpen));
  EXPECT_TRUE(raises(zip.Filename(0), ZipError::NotOpen));
  EXPECT_TRUE(raises(zip.FileSize(0), ZipError::NotOpen));
  EXPECT_TRUE(raises(zip.FileSizeZ(0), ZipError::NotOpen));
  EXPECT_TRUE(raises(zip.FileDate(0), ZipError::NotOpen));
  EXPECT_TRUE(raises(zip.FileComment(0), ZipError::NotOpen));
  EXPECT_TRUE(raises(zip.IsCrypted(0), ZipError::NotOpen));
  EXPECT_TRUE(raises(zip.ExtractFile("a", "C:\\", ""), ZipError::NotOpen));
  EXPECT_TRUE(raises(zip.RemoveFile("a"), ZipError::NotOpen));
}

TEST_F(ControlState, ReaderMethodsRaiseNotOpenWithoutAReader) {
  expectReaderMethodsRaiseNotOpen(control());
  EXPECT_TRUE(raises(control().AddFile("C:\\x.txt", "", false, ""), ZipError::NotOpen));

  ASSERT_TRUE(returns(control().CreateZip("C:\\w.zip", ""), 0));
  expectReaderMethodsRaiseNotOpen(control());
}

TEST_F(ControlState, OpenZipOfAMissingFileRaisesAndKeepsThePath) {
  EXPECT_TRUE(raises(control().OpenZip("C:\\missing.zip"), ZipError::CouldntOpen));
  EXPECT_EQ(control().archivePath(), "C:\\missing.zip");
  EXPECT_EQ(control().currentRecord(), 0);
  EXPECT_TRUE(returns(control().Close(), 0));
  EXPECT_TRUE(returns(control().Close(), 0));
  EXPECT_EQ(control().archivePath(), "");
}

TEST_F(ControlState, AFailedOpenZipClosesWhatWasOpenAndStillTakesThePath) {
  makeArchive("C:\\two.zip", {{"C:\\in\\a.txt", "a"}, {"C:\\in\\b.txt", "b"}});
  ASSERT_TRUE(returns(control().CreateZip("C:\\w.zip", "kept"), 0));
  ASSERT_TRUE(returns(control().OpenZip("C:\\two.zip"), 0));
  ASSERT_TRUE(returns(control().Filename(1), std::string("in/b.txt")));
  EXPECT_TRUE(raises(control().OpenZip("C:\\missing.zip"), ZipError::CouldntOpen));
  EXPECT_EQ(control().archivePath(), "C:\\missing.zip");
  EXPECT_EQ(control().currentRecord(), 0);
  EXPECT_FALSE(control().readerOpen());
  // With a reader open, OpenZip closed everything: the writer finished its archive.
  EXPECT_FALSE(control().writerOpen());
  ASSERT_TRUE(returns(control().OpenZip("C:\\w.zip"), 0));
  EXPECT_TRUE(returns(control().FileCount(), 0));
}

TEST_F(ControlState, OpenZipOfAFileThatIsNoArchiveRaises) {
  writeFile("C:\\notes.txt", "just some text, no end record here");
  EXPECT_TRUE(raises(control().OpenZip("C:\\notes.txt"), ZipError::CouldntOpen));
  EXPECT_FALSE(control().readerOpen());
}

TEST_F(ControlState, EmptyArchiveIsTheEndRecordAlone) {
  ASSERT_TRUE(returns(control().CreateZip("C:\\empty.zip", ""), 0));
  EXPECT_EQ(control().archivePath(), "C:\\empty.zip");
  ASSERT_TRUE(returns(control().Close(), 0));
  EXPECT_EQ(readFile("C:\\empty.zip"), std::string("PK\x05\x06", 4) + std::string(18, '\0'));

  ASSERT_TRUE(returns(control().OpenZip("C:\\empty.zip"), 0));
  EXPECT_TRUE(returns(control().FileCount(), 0));
  EXPECT_TRUE(returns(control().Filename(0), std::string()));
  EXPECT_TRUE(raises(control().ExtractFile("x", "C:\\", ""), ZipError::NotFound));
}

TEST_F(ControlState, CreateZipInAMissingFolderRaisesAndLeavesNoWriter) {
  EXPECT_TRUE(raises(control().CreateZip("C:\\no\\such\\a.zip", ""), ZipError::CouldntOpen));
  EXPECT_FALSE(control().writerOpen());
  EXPECT_EQ(control().archivePath(), "");
}

TEST_F(ControlState, CreateZipFinishesTheArchiveBeingWritten) {
  writeFile("C:\\in\\a.txt", "alpha");
  ASSERT_TRUE(returns(control().CreateZip("C:\\first.zip", "one"), 0));
  ASSERT_TRUE(returns(control().AddFile("C:\\in\\a.txt", "", false, ""), 0));
  ASSERT_TRUE(returns(control().CreateZip("C:\\second.zip", "two"), 0));
  ASSERT_TRUE(returns(control().Close(), 0));

  ASSERT_TRUE(returns(control().OpenZip("C:\\first.zip"), 0));
  EXPECT_TRUE(returns(control().FileCount(), 1));
  EXPECT_TRUE(returns(control().Filename(0), std::string("a.txt")));
}

TEST_F(ControlState, OpenZipLeavesAWriterOpenAndCloseFinishesIt) {
  makeArchive("C:\\old.zip", {{"C:\\in\\a.txt", "alpha"}});
  writeFile("C:\\in\\b.txt", "beta");
  ASSERT_TRUE(returns(control().CreateZip("C:\\new.zip", ""), 0));
  ASSERT_TRUE(returns(control().OpenZip("C:\\old.zip"), 0));
  EXPECT_TRUE(control().writerOpen());
  EXPECT_EQ(control().archivePath(), "C:\\old.zip");
  // With a writer open, an entry goes into the writer, not into the archive being read.
  ASSERT_TRUE(returns(control().AddFile("C:\\in\\b.txt", "", false, ""), 0));
  ASSERT_TRUE(returns(control().Close(), 0));

  ASSERT_TRUE(returns(control().OpenZip("C:\\new.zip"), 0));
  EXPECT_TRUE(returns(control().Filename(0), std::string("b.txt")));
  ASSERT_TRUE(returns(control().OpenZip("C:\\old.zip"), 0));
  EXPECT_TRUE(returns(control().FileCount(), 1));
}

TEST_F(ControlState, AboutBoxAsksTheHostOnlyWhenOneListens) {
  control().AboutBox();  // nobody connected: nothing happens

  std::vector<AboutBoxText> shown;
  control().setAboutBoxHandler([&](const AboutBoxText& text) { shown.push_back(text); });
  control().AboutBox();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].title, "About Parcelon Control");
  EXPECT_EQ(shown[0].text, "Parcelon Control, Version 2.0");
  EXPECT_EQ(shown[0].button, "Close");
}

}  // namespace
}  // namespace parcelon::testing
