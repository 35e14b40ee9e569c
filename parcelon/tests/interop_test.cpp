// Archives are checked by peers: what we write must satisfy unzip and Python's zipfile, and what
// zip writes must come out of our reader byte for byte.
#include <gtest/gtest.h>

#include <map>

#include "parallel_deflate.h"
#include "status_progress.h"
#include "zip_fixture.h"

namespace parcelon::testing {
namespace {

// Compares every entry of an archive with the expected bytes, as Python's zipfile reads it.
const char* const kZipfileCheck = R"PY(
import sys, zipfile
archive, password, comment = sys.argv[1], sys.argv[2].encode(), sys.argv[3].encode()
pairs = sys.argv[4:]
with zipfile.ZipFile(archive) as z:
    if not password and z.testzip() is not None:
        sys.exit("bad entry " + z.testzip())
    if z.comment != comment:
        sys.exit("comment %r" % z.comment)
    names = z.namelist()
    expected = dict(zip(pairs[0::2], pairs[1::2]))
    if sorted(names) != sorted(expected):
        sys.exit("names %r" % names)
    for name, path in expected.items():
        data = z.read(name, pwd=password or None)
        if data != open(path, "rb").read():
            sys.exit("content of " + name)
print("ok")
)PY";

// The machine's files, except that reading one chosen file stops after `limit` bytes: with a
// read error, or with an early end as if the file had shrunk since it was opened.
class CutShortFiles final : public platform::FileSystem {
 public:
  enum class Cut { ReadError, EarlyEnd };

  CutShortFiles(platform::FileSystem& files, std::string path, std::uint64_t limit, Cut cut)
      : m_files(files), m_path(std::move(path)), m_limit(limit), m_cut(cut) {}

  bool fileExists(const std::string& path) override { return m_files.fileExists(path); }
  bool folderExists(const std::string& path) override { return m_files.folderExists(path); }
  platform::Result<platform::FileInfo> fileInfo(const std::string& path) override {
    return m_files.fileInfo(path);
  }
  platform::Result<platform::FileIdentity> identity(const std::string& path) override {
    return m_files.identity(path);
  }
  platform::Result<std::unique_ptr<platform::FileLock>> lockFile(const std::string& path) override {
    return m_files.lockFile(path);
  }
  platform::Status setAttributes(const std::string& path, std::uint32_t attributes) override {
    return m_files.setAttributes(path, attributes);
  }
  platform::Status setLastWriteTime(const std::string& path, platform::FileTime time) override {
    return m_files.setLastWriteTime(path, time);
  }
  platform::Status createFolder(const std::string& path) override {
    return m_files.createFolder(path);
  }
  platform::Status copyFile(const std::string& source, const std::string& destination,
                            platform::Overwrite overwrite) override {
    return m_files.copyFile(source, destination, overwrite);
  }
  platform::Status copyFolder(const std::string& source, const std::string& destination,
                              platform::Overwrite overwrite) override {
    return m_files.copyFolder(source, destination, overwrite);
  }
  platform::Status deleteFile(const std::string& path, platform::Force force) override {
    return m_files.deleteFile(path, force);
  }
  platform::Status deleteFolder(const std::string& path, platform::Force force) override {
    return m_files.deleteFolder(path, force);
  }
  platform::Status moveFile(const std::string& source, const std::string& destination,
                            platform::Overwrite overwrite) override {
    return m_files.moveFile(source, destination, overwrite);
  }
  platform::Result<std::vector<platform::DirectoryEntry>> listFolder(
      const std::string& folder, const std::string& pattern) override {
    return m_files.listFolder(folder, pattern);
  }
  platform::Result<std::string> fullPath(const std::string& path) override {
    return m_files.fullPath(path);
  }
  std::string currentDirectory() override { return m_files.currentDirectory(); }
  platform::Status setCurrentDirectory(const std::string& path) override {
    return m_files.setCurrentDirectory(path);
  }
  platform::Result<std::string> createTemporaryFile(const std::string& folder,
                                                    const std::string& prefix) override {
    return m_files.createTemporaryFile(folder, prefix);
  }
  std::vector<platform::DriveInfo> drives() override { return m_files.drives(); }
  platform::Result<platform::DriveInfo> drive(char letter) override {
    return m_files.drive(letter);
  }

  platform::Result<std::unique_ptr<platform::File>> openFile(const std::string& path,
                                                             platform::OpenMode mode) override {
    auto file = m_files.openFile(path, mode);
    if (!file || path != m_path) return file;
    return std::unique_ptr<platform::File>(
        std::make_unique<CutShortFile>(std::move(*file), m_limit, m_cut));
  }

 private:
  class CutShortFile final : public platform::File {
   public:
    CutShortFile(std::unique_ptr<platform::File> file, std::uint64_t limit, Cut cut)
        : m_file(std::move(file)), m_limit(limit), m_cut(cut) {}
    platform::Result<std::size_t> read(void* buffer, std::size_t count) override {
      if (m_file->position() >= m_limit) {
        if (m_cut == Cut::EarlyEnd) return std::size_t{0};
        return platform::Result<std::size_t>::failure(platform::ERROR_READ_FAULT);
      }
      return m_file->read(buffer, std::min<std::uint64_t>(count, m_limit - m_file->position()));
    }
    platform::Status write(const void* buffer, std::size_t count) override {
      return m_file->write(buffer, count);
    }
    platform::Status seek(std::uint64_t position) override { return m_file->seek(position); }
    std::uint64_t position() const override { return m_file->position(); }
    platform::Result<std::uint64_t> size() override { return m_file->size(); }
    platform::Status truncate(std::uint64_t size) override { return m_file->truncate(size); }
    platform::Status close() override { return m_file->close(); }

   private:
    std::unique_ptr<platform::File> m_file;
    std::uint64_t m_limit;
    Cut m_cut;
  };

  platform::FileSystem& m_files;
  std::string m_path;
  std::uint64_t m_limit;
  Cut m_cut;
};

// Text with stretches of noise, as real files mix what deflates well with what does not.
std::string mixedBytes(std::size_t size, std::uint32_t seed) {
  std::string bytes = textBytes(size);
  constexpr std::size_t kStretch = 40000;
  for (std::size_t at = kStretch; at < size; at += 3 * kStretch) {
    const std::size_t length = std::min(kStretch, size - at);
    bytes.replace(at, length, noiseBytes(length, seed + static_cast<std::uint32_t>(at)));
  }
  return bytes;
}

// The Status events of a source of `size` bytes: one per 2048-byte block read.
std::vector<StatusEvent> blockEvents(const std::string& name, std::uint64_t size) {
  std::vector<StatusEvent> events;
  for (std::uint64_t block = 1; (block - 1) * kStatusBlockSize < size; ++block) {
    events.push_back({name, statusProgress(size, block)});
  }
  return events;
}

class Interop : public ZipTest {
 protected:
  // Expected entries: stored name -> Windows path of the source on drive C:.
  using Entries = std::map<std::string, std::string>;

  void expectPythonReads(const std::string& archive, const Entries& entries,
                         const std::string& comment = "", const std::string& password = "") {
    std::string command = "python3 -c " + shellQuote(kZipfileCheck) + " " +
                          shellQuote(hostPath(archive).string()) + " " + shellQuote(password) +
                          " " + shellQuote(comment);
    for (const auto& [name, source] : entries) {
      command += " " + shellQuote(name) + " " + shellQuote(hostPath(source).string());
    }
    const auto result = runCommand(command);
    EXPECT_EQ(result.exitCode, 0) << result.output;
  }

  void expectUnzipTests(const std::string& archive, const std::string& password = "") {
    const std::string options = password.empty() ? "-t" : "-t -P " + shellQuote(password);
    const auto result =
        runCommand("unzip " + options + " " + shellQuote(hostPath(archive).string()));
    EXPECT_EQ(result.exitCode, 0) << result.output;
  }

  // Lists the archive with the control and extracts every entry below `folder`, creating the
  // folders its names need, as the program's restore does.
  std::map<std::string, std::string> extractAll(const std::string& archive,
                                                const std::string& folder,
                                                const std::string& password = "") {
    std::map<std::string, std::string> contents;
    EXPECT_TRUE(returns(control().OpenZip(archive), 0));
    const auto count = control().FileCount();
    if (count.raised()) return contents;
    for (std::int32_t rec = 0; rec < count.value(); ++rec) {
      const std::string name = control().Filename(rec).value();
      if (name.empty() || name.back() == '/') continue;  // a folder entry
      const auto slash = name.find_last_of('/');
      if (slash != std::string::npos) {
        std::filesystem::create_directories(hostPath(folder + "\\" + name.substr(0, slash)));
      }
      EXPECT_TRUE(returns(control().ExtractFile(name, folder, password), 0)) << name;
      contents[name] = readFile(folder + "\\" + name);
    }
    EXPECT_TRUE(returns(control().Close(), 0));
    return contents;
  }
};

TEST_F(Interop, WrittenArchivesSatisfyUnzipAndZipfile) {
  writeFile("C:\\Data\\Report.doc", noiseBytes(70000, 1));
  writeFile("C:\\Data\\Sub\\notes.txt", textBytes(50000));
  writeFile("C:\\Data\\empty.txt", "");
  writeFile("C:\\Data\\block.bin", noiseBytes(4096, 2));
  ASSERT_TRUE(returns(control().CreateZip("C:\\out.zip", "Migrated Files"), 0));
  ASSERT_TRUE(returns(control().AddFile("C:\\Data\\Report.doc", "Migrated File", true, ""), 0));
  ASSERT_TRUE(returns(control().AddFile("C:\\Data\\Sub\\notes.txt", "", true, ""), 0));
  ASSERT_TRUE(returns(control().AddFile("C:\\Data\\empty.txt", "", false, ""), 0));
  ASSERT_TRUE(returns(control().AddFile("C:\\Data\\block.bin", "", false, ""), 0));
  ASSERT_TRUE(returns(control().Close(), 0));

  expectUnzipTests("C:\\out.zip");
  expectPythonReads("C:\\out.zip",
                    {{"Data/Report.doc", "C:\\Data\\Report.doc"},
                     {"Data/Sub/notes.txt", "C:\\Data\\Sub\\notes.txt"},
                     {"empty.txt", "C:\\Data\\empty.txt"},
                     {"block.bin", "C:\\Data\\block.bin"}},
                    "Migrated Files");
}

TEST_F(Interop, EncryptedMergedAndPrunedArchivesSatisfyUnzipAndZipfile) {
  writeFile("C:\\in\\a.txt", textBytes(30000));
  writeFile("C:\\in\\b.bin", noiseBytes(20000, 3));
  writeFile("C:\\in\\c.txt", "third");
  ASSERT_TRUE(returns(control().CreateZip("C:\\enc.zip", ""), 0));
  ASSERT_TRUE(returns(control().AddFile("C:\\in\\a.txt", "", false, "secret"), 0));
  ASSERT_TRUE(returns(control().AddFile("C:\\in\\b.bin", "", false, "secret"), 0));
  ASSERT_TRUE(returns(control().Close(), 0));
  expectUnzipTests("C:\\enc.zip", "secret");
  expectPythonReads("C:\\enc.zip", {{"a.txt", "C:\\in\\a.txt"}, {"b.bin", "C:\\in\\b.bin"}}, "",
                    "secret");

  // Merged into an opened archive, then pruned again.
  makeArchive("C:\\plain.zip", {{"C:\\in\\a.txt", textBytes(30000)}}, "kept comment");
  ASSERT_TRUE(returns(control().OpenZip("C:\\plain.zip"), 0));
  ASSERT_TRUE(returns(control().AddFile("C:\\in\\b.bin", "", true, ""), 0));
  ASSERT_TRUE(returns(control().AddFile("C:\\in\\c.txt", "", true, ""), 0));
  ASSERT_TRUE(returns(control().RemoveFile("in/A.TXT"), 0));
  ASSERT_TRUE(returns(control().Close(), 0));
  expectUnzipTests("C:\\plain.zip");
  expectPythonReads("C:\\plain.zip", {{"in/b.bin", "C:\\in\\b.bin"}, {"in/c.txt", "C:\\in\\c.txt"}},
                    "kept comment");
}

// Large entries are deflated in chunks on two workers and joined into one stream. Sizes on and
// around the chunk boundaries must come out whole for every reader, with the Status events of
// the single pass, and hardly larger than the single pass makes them.
TEST_F(Interop, EntriesDeflatedInParallelSatisfyEveryReader) {
  constexpr std::size_t kChunk = ParallelDeflate::kMaxChunk;
  constexpr std::size_t kSmallest = ParallelDeflate::kMinimumSize;
  const std::size_t sizes[] = {kSmallest - 1, kSmallest,      kSmallest + 1, 2 * kChunk - 1,
                               2 * kChunk,    2 * kChunk + 1, 3 * kChunk,    9 * kChunk + 4321};
  ParcelonCtrl single(files(), random());
  Entries entries;
  ASSERT_TRUE(returns(control().CreateZip("C:\\parallel.zip", "both cores"), 0));
  ASSERT_TRUE(returns(single.CreateZip("C:\\single.zip", ""), 0));
  for (std::size_t i = 0; i < std::size(sizes); ++i) {
    const std::string name = "e" + std::to_string(i) + ".bin";
    writeFile("C:\\big\\" + name, mixedBytes(sizes[i], static_cast<std::uint32_t>(i)));
    entries[name] = "C:\\big\\" + name;
    clearEvents();
    ASSERT_TRUE(returns(control().AddFile(entries[name], "", false, ""), 0)) << sizes[i];
    EXPECT_EQ(events(), blockEvents(name, sizes[i])) << sizes[i];
    ASSERT_TRUE(returns(single.AddFile(entries[name], "", false, ""), 0)) << sizes[i];
  }
  // Long enough stretches of noise that whole chunks and read blocks are stored, and the
  // entry changes level four times.
  entries["levels.bin"] = "C:\\big\\levels.bin";
  writeFile(entries["levels.bin"], textBytes(100000) + noiseBytes(3 * kChunk, 11) +
                                       textBytes(100000) + noiseBytes(100000, 12));
  ASSERT_TRUE(returns(control().AddFile(entries["levels.bin"], "", false, ""), 0));
  ASSERT_TRUE(returns(single.AddFile(entries["levels.bin"], "", false, ""), 0));
  ASSERT_TRUE(returns(control().Close(), 0));
  ASSERT_TRUE(returns(single.Close(), 0));

  // Both take stored blocks for the noise, one pass switching levels within the entry.
  for (const char* archive : {"C:\\parallel.zip", "C:\\single.zip"}) {
    expectUnzipTests(archive);
  }
  expectPythonReads("C:\\parallel.zip", entries, "both cores");
  expectPythonReads("C:\\single.zip", entries);
  std::map<std::string, std::string> expected;
  for (const auto& [name, source] : entries) expected[name] = readFile(source);
  std::filesystem::create_directories(hostPath("C:\\out"));
  EXPECT_TRUE(extractAll("C:\\parallel.zip", "C:\\out") == expected);

  const auto parallelSize = static_cast<double>(readFile("C:\\parallel.zip").size());
  const auto singleSize = static_cast<double>(readFile("C:\\single.zip").size());
  EXPECT_LT(parallelSize, singleSize * 1.01);
}

// A source that fails part-way, or ends before the size it had when it was opened, never
// breaks the archive: the failed entry is left out (-1), the short one keeps what was read.
TEST_F(Interop, ASourceCutShortInTheMiddleOfAParallelEntryLeavesAValidArchive) {
  constexpr std::size_t kChunk = ParallelDeflate::kMaxChunk;
  struct Row {
    const char* label;
    CutShortFiles::Cut cut;
    std::size_t limit;
    std::int32_t result;
  };
  const Row rows[] = {
      {"a read error in the third chunk", CutShortFiles::Cut::ReadError, 2 * kChunk + 5000, -1},
      {"a read error at the start", CutShortFiles::Cut::ReadError, 0, -1},
      {"an early end on a chunk boundary", CutShortFiles::Cut::EarlyEnd, 2 * kChunk, 0},
      {"an early end before any data", CutShortFiles::Cut::EarlyEnd, 0, 0},
  };
  const std::string source = mixedBytes(4 * kChunk, 7);
  writeFile("C:\\in\\cut.bin", source);
  writeFile("C:\\in\\before.txt", textBytes(3000));
  writeFile("C:\\in\\after.bin", mixedBytes(3 * kChunk, 8));
  for (const Row& row : rows) {
    CutShortFiles cutting(files(), "C:\\in\\cut.bin", row.limit, row.cut);
    ParcelonCtrl cut(cutting, random(), ArchiveLimits{}, &threads());
    ASSERT_TRUE(returns(cut.CreateZip("C:\\cut.zip", ""), 0));
    ASSERT_TRUE(returns(cut.AddFile("C:\\in\\before.txt", "", false, ""), 0));
    EXPECT_TRUE(returns(cut.AddFile("C:\\in\\cut.bin", "", false, ""), row.result)) << row.label;
    ASSERT_TRUE(returns(cut.AddFile("C:\\in\\after.bin", "", false, ""), 0));
    ASSERT_TRUE(returns(cut.Close(), 0));

    expectUnzipTests("C:\\cut.zip");
    std::map<std::string, std::string> expected = {{"before.txt", textBytes(3000)},
                                                   {"after.bin", mixedBytes(3 * kChunk, 8)}};
    if (row.result == 0) expected["cut.bin"] = source.substr(0, row.limit);
    std::filesystem::remove_all(hostPath("C:\\out"));
    std::filesystem::create_directories(hostPath("C:\\out"));
    EXPECT_TRUE(extractAll("C:\\cut.zip", "C:\\out") == expected) << row.label;

    // Added to an opened archive (the merge way), a failure leaves the archive as it was.
    const std::string before = readFile("C:\\cut.zip");
    ASSERT_TRUE(returns(cut.OpenZip("C:\\cut.zip"), 0));
    EXPECT_TRUE(returns(cut.AddFile("C:\\in\\cut.bin", "", true, ""), row.result)) << row.label;
    ASSERT_TRUE(returns(cut.Close(), 0));
    if (row.result != 0) {
      EXPECT_EQ(readFile("C:\\cut.zip"), before) << row.label;
    }
    expectUnzipTests("C:\\cut.zip");
  }
}

// Archives made by zip, from files under C:\src, and read back by the control.
struct ZipMade {
  const char* label;
  const char* zipOptions;
  const char* password;
};

void PrintTo(const ZipMade& made, std::ostream* out) { *out << made.label; }

class ZipMadeArchives : public Interop, public ::testing::WithParamInterface<ZipMade> {};

TEST_P(ZipMadeArchives, AreListedAndExtractedWithIdenticalContents) {
  const ZipMade& made = GetParam();
  const std::map<std::string, std::string> sources = {
      {"doc/report.doc", noiseBytes(40000, 7)},
      {"doc/notes.txt", textBytes(100000)},
      {"empty.dat", ""},
      {"small.txt", "tiny"},
  };
  for (const auto& [name, bytes] : sources) writeFile("C:\\src\\" + name, bytes);
  const auto source = hostPath("C:\\src");
  const auto archive = hostPath("C:\\made.zip");
  auto result = runCommand("cd " + shellQuote(source.string()) + " && zip -q -r " +
                           made.zipOptions + " " + shellQuote(archive.string()) + " .");
  ASSERT_EQ(result.exitCode, 0) << result.output;

  std::filesystem::create_directories(hostPath("C:\\out"));
  EXPECT_EQ(extractAll("C:\\made.zip", "C:\\out", made.password), sources) << made.label;

  // Pruned and added to by us, the archive still satisfies unzip.
  ASSERT_TRUE(returns(control().OpenZip("C:\\made.zip"), 0));
  ASSERT_TRUE(returns(control().RemoveFile("doc/notes.txt"), 0));
  ASSERT_TRUE(returns(control().AddFile("C:\\src\\small.txt", "", false, made.password), 0));
  EXPECT_TRUE(returns(control().FileCount(), static_cast<std::int32_t>(sources.size()) + 1));
  ASSERT_TRUE(returns(control().Close(), 0));
  expectUnzipTests("C:\\made.zip", made.password);
}

INSTANTIATE_TEST_SUITE_P(Peers, ZipMadeArchives,
                         ::testing::Values(ZipMade{"plain", "-6", ""}, ZipMade{"stored", "-0", ""},
                                           ZipMade{"encrypted", "-P pass-word", "pass-word"},
                                           ZipMade{"best", "-9", ""}),
                         [](const auto& info) { return std::string(info.param.label); });

TEST_F(Interop, ZipArchiveWithCommentAndStubIsRead) {
  writeFile("C:\\src\\a.txt", textBytes(5000));
  const auto archive = hostPath("C:\\made.zip");
  auto result = runCommand("cd " + shellQuote(hostPath("C:\\src").string()) +
                           " && echo 'the archive comment' | zip -q -z " +
                           shellQuote(archive.string()) + " a.txt");
  ASSERT_EQ(result.exitCode, 0) << result.output;
  // A self-extracting stub in front: the offsets inside stay relative to the archive.
  writeFile("C:\\stubbed.zip", noiseBytes(3000, 9) + readFile("C:\\made.zip"));

  std::filesystem::create_directories(hostPath("C:\\out"));
  const std::map<std::string, std::string> expected = {{"a.txt", textBytes(5000)}};
  EXPECT_EQ(extractAll("C:\\made.zip", "C:\\out"), expected);
  EXPECT_EQ(extractAll("C:\\stubbed.zip", "C:\\out"), expected);
}

TEST_F(Interop, HundredsOfEntriesAreListedInOrder) {
  std::map<std::string, std::string> sources;
  for (int i = 0; i < 300; ++i) {
    const std::string name = "f" + std::to_string(1000 + i) + ".txt";
    sources[name] = textBytes(static_cast<std::size_t>(i * 7));
    writeFile("C:\\src\\" + name, sources[name]);
  }
  const auto result = runCommand("cd " + shellQuote(hostPath("C:\\src").string()) + " && zip -q " +
                                 shellQuote(hostPath("C:\\many.zip").string()) + " f*.txt");
  ASSERT_EQ(result.exitCode, 0) << result.output;
  std::filesystem::create_directories(hostPath("C:\\out"));
  EXPECT_EQ(extractAll("C:\\many.zip", "C:\\out"), sources);
  // Backwards costs a walk from the first entry, and still answers.
  ASSERT_TRUE(returns(control().OpenZip("C:\\many.zip"), 0));
  EXPECT_TRUE(returns(control().Filename(299), std::string("f1299.txt")));
  EXPECT_TRUE(returns(control().Filename(5), std::string("f1005.txt")));
}

}  // namespace
}  // namespace parcelon::testing
