// Archives are checked by peers: what we write must satisfy unzip and Python's zipfile, and what
// zip writes must come out of our reader byte for byte.
#include <gtest/gtest.h>

#include <map>

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
