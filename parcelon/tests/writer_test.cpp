// Writing: the entries AddFile makes, the encrypted and merged ways, RemoveFile, and the limits
// of the records.
#include <gtest/gtest.h>

#include "archive_paths.h"
#include "dos_date_time.h"
#include "little_endian.h"
#include "zip_fixture.h"
#include "zip_reader.h"
#include "zip_records.h"

namespace parcelon::testing {
namespace {

// The central headers of an archive, read with the reader.
std::vector<CentralHeader> centralHeaders(platform::FileSystem& files, const std::string& path) {
  std::vector<CentralHeader> headers;
  auto reader = ZipReader::open(files, path);
  if (!reader) return headers;
  for (std::int32_t i = 0; i < (*reader)->entryCount(); ++i) {
    (*reader)->goToRecord(i);
    headers.push_back((*reader)->entry());
  }
  return headers;
}

TEST(StoredNames, AddedFilesAreStoredWithSlashesAndWithoutDrive) {
  struct Row {
    const char* source;
    KeepPath keep;
    const char* stored;
  };
  const Row rows[] = {
      {"C:\\Data\\Report.doc", KeepPath::Yes, "Data/Report.doc"},
      {"C:\\Data\\Report.doc", KeepPath::No, "Report.doc"},
      {"C:\\Report.doc", KeepPath::Yes, "Report.doc"},
      {"\\\\server\\share\\x.txt", KeepPath::Yes, "server/share/x.txt"},
      {"x.txt", KeepPath::Yes, "x.txt"},
      {"D:relative\\x.txt", KeepPath::No, "x.txt"},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(storedNameFor(row.source, row.keep), row.stored) << row.source;
  }
}

class Writer : public ZipTest {};

TEST_F(Writer, AddedEntriesAreDeflatedWithTheirSourcesTimeAndAttributes) {
  writeFile("C:\\x\\b.txt", textBytes(3000));
  // 31 December 2003, 23:59:58 UTC.
  const platform::FileTime lastWrite = (1072915198ULL + 11644473600ULL) * 10'000'000ULL;
  ASSERT_EQ(files().setLastWriteTime("C:\\x\\b.txt", lastWrite), platform::ERROR_SUCCESS);
  ASSERT_TRUE(returns(control().CreateZip("C:\\a.zip", "set"), 0));
  clearEvents();
  ASSERT_TRUE(returns(control().AddFile("C:\\x\\b.txt", "", false, ""), 0));
  EXPECT_EQ(events(), (std::vector<StatusEvent>{{"b.txt", 68}, {"b.txt", 100}}));
  ASSERT_TRUE(returns(control().Close(), 0));

  const auto headers = centralHeaders(files(), "C:\\a.zip");
  ASSERT_EQ(headers.size(), 1u);
  EXPECT_EQ(headers[0].versionNeeded, 20);
  EXPECT_EQ(headers[0].versionMadeBy, 0);
  EXPECT_EQ(headers[0].flags, 0);
  EXPECT_EQ(headers[0].method, kMethodDeflated);
  EXPECT_EQ(headers[0].uncompressedSize, 3000u);
  EXPECT_EQ((headers[0].dosDate >> 5) & 0x0F, 12);
  EXPECT_EQ(headers[0].dosDate & 0x1F, 31);
  EXPECT_EQ(headers[0].dosTime, 23 * 2048 + 59 * 32 + 29);
  EXPECT_EQ(headers[0].externalAttributes, platform::FILE_ATTRIBUTE_ARCHIVE);
  // Sizes and CRC in the local header are the central ones (no data descriptor).
  const std::string bytes = readFile("C:\\a.zip");
  const auto* local = reinterpret_cast<const std::uint8_t*>(bytes.data());
  EXPECT_EQ(get32(local + 14), headers[0].crc);
  EXPECT_EQ(get32(local + 18), headers[0].compressedSize);
  EXPECT_EQ(get32(local + 22), 3000u);
}

TEST_F(Writer, FilesWrittenBefore1980AreStoredAsTheFirstDosDay) {
  writeFile("C:\\old.txt", "old");
  const platform::FileTime in1975 = (173000000ULL + 11644473600ULL) * 10'000'000ULL;
  ASSERT_EQ(files().setLastWriteTime("C:\\old.txt", in1975), platform::ERROR_SUCCESS);
  ASSERT_TRUE(returns(control().CreateZip("C:\\a.zip", ""), 0));
  ASSERT_TRUE(returns(control().AddFile("C:\\old.txt", "", false, ""), 0));
  ASSERT_TRUE(returns(control().Close(), 0));
  ASSERT_TRUE(returns(control().OpenZip("C:\\a.zip"), 0));
  EXPECT_TRUE(returns(control().FileDate(0), 29221.0));  // 1 January 1980
}

TEST_F(Writer, AnEncryptedEntryIsTheSameEntryTwelveBytesLonger) {
  writeFile("C:\\x\\b.txt", textBytes(20000));
  makeArchive("C:\\plain.zip", {{"C:\\x\\b.txt", textBytes(20000)}});
  ASSERT_TRUE(returns(control().CreateZip("C:\\enc.zip", "set"), 0));
  ASSERT_TRUE(returns(control().AddFile("C:\\x\\b.txt", "", true, "pw"), 0));
  // The archive is complete on disk and open for reading right away.
  EXPECT_TRUE(control().readerOpen());
  EXPECT_FALSE(control().writerOpen());
  EXPECT_TRUE(returns(control().FileCount(), 1));
  ASSERT_TRUE(returns(control().Close(), 0));

  const auto plain = centralHeaders(files(), "C:\\plain.zip");
  const auto encrypted = centralHeaders(files(), "C:\\enc.zip");
  ASSERT_EQ(encrypted.size(), 1u);
  EXPECT_EQ(encrypted[0].flags, kFlagEncrypted);
  EXPECT_EQ(encrypted[0].compressedSize, plain[0].compressedSize + 12);
  EXPECT_EQ(encrypted[0].crc, plain[0].crc);
  // NOTE: the archive comment given to CreateZip survives the encryption.
  auto reader = ZipReader::open(files(), "C:\\enc.zip");
  ASSERT_TRUE(reader);
  EXPECT_EQ((*reader)->layout().end.commentLength, 3);
}

TEST_F(Writer, AFileAddedToAnOpenedArchiveGoesAfterTheOthers) {
  makeArchive("C:\\three.zip",
              {{"C:\\in\\1.txt", "one"}, {"C:\\in\\2.txt", "two"}, {"C:\\in\\3.txt", "three"}},
              "three files");
  auto before = ZipReader::open(files(), "C:\\three.zip");
  ASSERT_TRUE(before);
  const std::uint32_t oldDirectory = (*before)->layout().end.centralOffset;
  before->reset();

  writeFile("C:\\in\\4.txt", "four");
  ASSERT_TRUE(returns(control().OpenZip("C:\\three.zip"), 0));
  ASSERT_TRUE(returns(control().AddFile("C:\\in\\4.txt", "fourth", true, ""), 0));
  EXPECT_TRUE(returns(control().FileCount(), 4));
  EXPECT_TRUE(returns(control().Filename(3), std::string("in/4.txt")));
  EXPECT_TRUE(returns(control().FileComment(3), std::string("fourth")));
  ASSERT_TRUE(returns(control().Close(), 0));

  const auto headers = centralHeaders(files(), "C:\\three.zip");
  ASSERT_EQ(headers.size(), 4u);
  EXPECT_EQ(headers[3].localOffset, oldDirectory);
  auto after = ZipReader::open(files(), "C:\\three.zip");
  EXPECT_EQ((*after)->layout().end.commentLength, 11);
  EXPECT_EQ(folderNames("C:\\"), (std::vector<std::string>{"in", "three.zip"}));
}

TEST_F(Writer, NothingIsAddedToAnArchiveWhoseDirectoryCannotBeWalked) {
  makeArchive("C:\\three.zip",
              {{"C:\\in\\1.txt", "one"}, {"C:\\in\\2.txt", "two"}, {"C:\\in\\3.txt", "three"}});
  // The last header of the directory no longer reads: an entry appended after it would be
  // out of reach of every reader that walks the directory.
  std::string damaged = readFile("C:\\three.zip");
  damaged[damaged.rfind(std::string("PK\x01\x02", 4)) + 2] = 9;
  writeFile("C:\\three.zip", damaged);
  writeFile("C:\\in\\4.txt", "four");

  ASSERT_TRUE(returns(control().OpenZip("C:\\three.zip"), 0));
  for (const char* password : {"", "pw"}) {
    EXPECT_TRUE(returns(control().AddFile("C:\\in\\4.txt", "", false, password), -1)) << password;
  }
  ASSERT_TRUE(returns(control().Close(), 0));
  EXPECT_EQ(readFile("C:\\three.zip"), damaged);
  EXPECT_EQ(folderNames("C:\\"), (std::vector<std::string>{"in", "three.zip"}));
}

TEST_F(Writer, RemoveFileDropsTheEntryAndMovesTheFollowingOnesDown) {
  makeArchive("C:\\r.zip", {{"C:\\Data\\first.txt", textBytes(1000)},
                            {"C:\\Data\\Report.doc", noiseBytes(5000, 4)},
                            {"C:\\Data\\last.txt", textBytes(2000)}});
  const auto before = centralHeaders(files(), "C:\\r.zip");
  ASSERT_TRUE(returns(control().OpenZip("C:\\r.zip"), 0));
  ASSERT_TRUE(returns(control().RemoveFile("DATA/REPORT.DOC"), 0));
  EXPECT_TRUE(control().readerOpen());
  EXPECT_TRUE(returns(control().FileCount(), 2));
  EXPECT_TRUE(returns(control().Filename(1), std::string("Data/last.txt")));

  const auto after = centralHeaders(files(), "C:\\r.zip");
  ASSERT_EQ(after.size(), 2u);
  const std::uint32_t removedLength = before[2].localOffset - before[1].localOffset;
  EXPECT_EQ(after[0].localOffset, before[0].localOffset);
  EXPECT_EQ(after[1].localOffset, before[2].localOffset - removedLength);
  std::filesystem::create_directories(hostPath("C:\\out\\Data"));
  ASSERT_TRUE(returns(control().ExtractFile("Data/last.txt", "C:\\out", ""), 0));
  EXPECT_EQ(readFile("C:\\out\\Data\\last.txt"), textBytes(2000));
}

TEST_F(Writer, RemoveFileWithoutAMatchTellsTheCallerAndLeavesTheArchive) {
  makeArchive("C:\\r.zip", {{"C:\\a.txt", "a"}});
  const std::string bytes = readFile("C:\\r.zip");
  ASSERT_TRUE(returns(control().OpenZip("C:\\r.zip"), 0));
  EXPECT_TRUE(raises(control().RemoveFile("b.txt"), ZipError::NotFound));
  EXPECT_EQ(readFile("C:\\r.zip"), bytes);
  EXPECT_TRUE(returns(control().FileCount(), 1));
}

TEST_F(Writer, RemoveFileTakesEveryEntryOfTheName) {
  writeFile("C:\\a.txt", "a");
  writeFile("C:\\b.txt", "b");
  ASSERT_TRUE(returns(control().CreateZip("C:\\d.zip", ""), 0));
  for (const char* source : {"C:\\a.txt", "C:\\b.txt", "C:\\a.txt", "C:\\b.txt"}) {
    ASSERT_TRUE(returns(control().AddFile(source, "", false, ""), 0));
  }
  ASSERT_TRUE(returns(control().Close(), 0));
  ASSERT_TRUE(returns(control().OpenZip("C:\\d.zip"), 0));
  ASSERT_TRUE(returns(control().RemoveFile("A.txt"), 0));
  EXPECT_TRUE(returns(control().FileCount(), 2));
  EXPECT_TRUE(returns(control().Filename(0), std::string("b.txt")));
  EXPECT_TRUE(returns(control().Filename(1), std::string("b.txt")));
  ASSERT_TRUE(returns(control().Close(), 0));
  const auto result = runCommand("unzip -tq " + shellQuote(hostPath("C:\\d.zip").string()));
  EXPECT_EQ(result.exitCode, 0) << result.output;
}

TEST_F(Writer, ASourceThatCannotBeOpenedChangesNothing) {
  writeFile("C:\\arc\\a.txt", "a");
  ASSERT_TRUE(returns(control().CreateZip("C:\\arc\\w.zip", ""), 0));
  for (const char* password : {"", "pw"}) {
    EXPECT_TRUE(returns(control().AddFile("C:\\arc\\missing.txt", "", false, password), -1));
    EXPECT_TRUE(returns(control().AddFile("C:\\arc", "", false, password), -1)) << "a folder";
    EXPECT_TRUE(control().writerOpen());
    EXPECT_FALSE(control().readerOpen());
  }
  ASSERT_TRUE(returns(control().AddFile("C:\\arc\\a.txt", "", false, ""), 0));
  ASSERT_TRUE(returns(control().Close(), 0));
  EXPECT_EQ(centralHeaders(files(), "C:\\arc\\w.zip").size(), 1u);

  ASSERT_TRUE(returns(control().OpenZip("C:\\arc\\w.zip"), 0));
  EXPECT_TRUE(returns(control().AddFile("C:\\arc\\missing.txt", "", false, "pw"), -1));
  EXPECT_TRUE(returns(control().FileCount(), 1));
  EXPECT_EQ(folderNames("C:\\arc"), (std::vector<std::string>{"a.txt", "w.zip"}));
}

// Records the folders temporary files are made in.
class TemporaryFolders : public Writer {
 protected:
  std::vector<std::string> namesDuringAdd(const std::string& archive, const std::string& password) {
    writeFile("C:\\src\\a.txt", textBytes(100));
    makeArchive(archive, {{"C:\\src\\b.txt", "b"}});
    std::vector<std::string> seen;
    control().setStatusSink(
        [&](const std::string&, std::int32_t) { seen = folderNames("C:\\deep\\arc"); });
    EXPECT_TRUE(returns(control().OpenZip(archive), 0));
    EXPECT_TRUE(returns(control().AddFile("C:\\src\\a.txt", "", false, password), 0));
    EXPECT_TRUE(returns(control().Close(), 0));
    return seen;
  }
};

TEST_F(TemporaryFolders, AddFileMakesItsTemporaryFilesBesideTheArchive) {
  std::filesystem::create_directories(hostPath("C:\\deep\\arc"));
  const auto seen = namesDuringAdd("C:\\deep\\arc\\x.zip", "pw");
  // While the source is read: the archive and the one-entry archive being written.
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_NE(std::find(seen.begin(), seen.end(), "x.zip"), seen.end());
  EXPECT_EQ(folderNames("C:\\deep\\arc"), std::vector<std::string>{"x.zip"});
  EXPECT_EQ(folderNames("C:\\"), (std::vector<std::string>{"deep", "src"}));
}

TEST_F(Writer, AnEntryTooLargeForTheRecordsIsRefusedAndTheArchiveStaysValid) {
  auto small = makeControl(ArchiveLimits{4000, 3});
  writeFile("C:\\in\\small.txt", textBytes(500));
  writeFile("C:\\in\\big.bin", noiseBytes(6000, 5));
  ASSERT_TRUE(returns(small->CreateZip("C:\\l.zip", "limits"), 0));
  ASSERT_TRUE(returns(small->AddFile("C:\\in\\small.txt", "", false, ""), 0));
  EXPECT_TRUE(returns(small->AddFile("C:\\in\\big.bin", "", false, ""), -1));
  ASSERT_TRUE(returns(small->AddFile("C:\\in\\small.txt", "", true, ""), 0));
  ASSERT_TRUE(returns(small->AddFile("C:\\in\\small.txt", "", true, ""), 0));
  EXPECT_TRUE(returns(small->AddFile("C:\\in\\small.txt", "", true, ""), -1)) << "a 4th entry";
  ASSERT_TRUE(returns(small->Close(), 0));
  EXPECT_EQ(centralHeaders(files(), "C:\\l.zip").size(), 3u);
  auto result = runCommand("unzip -tq " + shellQuote(hostPath("C:\\l.zip").string()));
  EXPECT_EQ(result.exitCode, 0) << result.output;

  // The merge refuses the same, leaving the archive as it was.
  const std::string before = readFile("C:\\l.zip");
  ASSERT_TRUE(returns(small->OpenZip("C:\\l.zip"), 0));
  EXPECT_TRUE(returns(small->AddFile("C:\\in\\small.txt", "", false, "pw"), -1));
  ASSERT_TRUE(returns(small->Close(), 0));
  EXPECT_EQ(readFile("C:\\l.zip"), before);
}

TEST_F(Writer, TheArchiveBeingWrittenAddedToItselfIsReadAsFarAsItWas) {
  // Reading on while the writer appends would chase the file up to this limit.
  auto bounded = makeControl(ArchiveLimits{8u << 20, 0xFFFF});
  writeFile("C:\\in\\noise.bin", noiseBytes(300000, 6));
  ASSERT_TRUE(returns(bounded->CreateZip("C:\\self.zip", ""), 0));
  ASSERT_TRUE(returns(bounded->AddFile("C:\\in\\noise.bin", "", false, ""), 0));
  const std::string sofar = readFile("C:\\self.zip");
  ASSERT_TRUE(returns(bounded->AddFile("C:\\self.zip", "", false, ""), 0));
  ASSERT_TRUE(returns(bounded->Close(), 0));

  ASSERT_TRUE(returns(bounded->OpenZip("C:\\self.zip"), 0));
  EXPECT_TRUE(returns(bounded->FileCount(), 2));
  ASSERT_TRUE(returns(bounded->ExtractFile("self.zip", "C:\\copy.bin", ""), 0));
  EXPECT_EQ(readFile("C:\\copy.bin"), sofar);
}

TEST_F(Writer, ACommentNoReaderCouldFindIsRefused) {
  EXPECT_TRUE(
      raises(control().CreateZip("C:\\c.zip", std::string(65514, 'c')), ZipError::CouldntOpen));
  EXPECT_FALSE(exists("C:\\c.zip"));
  ASSERT_TRUE(returns(control().CreateZip("C:\\c.zip", std::string(65513, 'c')), 0));
  ASSERT_TRUE(returns(control().Close(), 0));
  EXPECT_TRUE(returns(control().OpenZip("C:\\c.zip"), 0));
}

TEST_F(Writer, LongNamesAndCommentsComeBackWhole) {
  const std::string folder = "C:\\" + std::string(200, 'd');
  const std::string comment(1000, 'c');
  writeFile(folder + "\\" + std::string(200, 'f'), "long");
  ASSERT_TRUE(returns(control().CreateZip("C:\\n.zip", ""), 0));
  ASSERT_TRUE(
      returns(control().AddFile(folder + "\\" + std::string(200, 'f'), comment, true, ""), 0));
  ASSERT_TRUE(returns(control().Close(), 0));
  ASSERT_TRUE(returns(control().OpenZip("C:\\n.zip"), 0));
  const std::string stored = std::string(200, 'd') + "/" + std::string(200, 'f');
  EXPECT_TRUE(returns(control().Filename(0), stored));
  EXPECT_TRUE(returns(control().FileComment(0), comment));
  ASSERT_TRUE(returns(control().ExtractFile(stored, "C:\\copy.txt", ""), 0));
  EXPECT_EQ(readFile("C:\\copy.txt"), "long");
  // Merge and removal copy such names whole too.
  ASSERT_TRUE(returns(control().AddFile("C:\\copy.txt", "", false, ""), 0));
  ASSERT_TRUE(returns(control().RemoveFile(stored), 0));
  EXPECT_TRUE(returns(control().Filename(0), std::string("copy.txt")));
}

}  // namespace
}  // namespace parcelon::testing
