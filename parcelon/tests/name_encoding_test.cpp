// Names outside ASCII cross between the host's ANSI text and other readers: we store them in
// UTF-8 with the language encoding flag, and read flagged names back into ANSI. Unflagged names
// are taken as ANSI bytes, as they always were.
#include <gtest/gtest.h>

#include "little_endian.h"
#include "zip_fixture.h"

namespace parcelon::testing {
namespace {

constexpr std::uint16_t kUtf8Flag = 0x0800;

// The general-purpose flags of every local header and every central header, in file order.
std::vector<std::uint16_t> flagsOf(const std::string& archive, const std::string& signature,
                                   std::size_t flagsOffset) {
  std::vector<std::uint16_t> flags;
  for (auto at = archive.find(signature); at != std::string::npos;
       at = archive.find(signature, at + 1)) {
    flags.push_back(get16(reinterpret_cast<const std::uint8_t*>(archive.data()) + at + flagsOffset));
  }
  return flags;
}

class NameEncoding : public ZipTest {
 protected:
  std::string python(const std::string& script, const std::string& archive) {
    const auto result = runCommand("python3 -c " + shellQuote(script) + " " +
                                   shellQuote(hostPath(archive).string()));
    EXPECT_EQ(result.exitCode, 0) << result.output;
    return result.output;
  }
};

TEST_F(NameEncoding, WrittenNamesReachUnzipAndZipfileInUtf8) {
  // "café.txt" and "Überblick €.doc" in Windows-1252, as the host names them.
  const std::string cafe = "caf\xE9.txt";
  const std::string report = "\xDC" "berblick \x80.doc";
  writeFile("C:\\in\\" + cafe, "coffee");
  writeFile("C:\\in\\" + report, "euro");
  writeFile("C:\\in\\plain.txt", "ascii");
  ASSERT_TRUE(returns(control().CreateZip("C:\\names.zip", ""), 0));
  ASSERT_TRUE(returns(control().AddFile("C:\\in\\" + cafe, "", false, ""), 0));
  ASSERT_TRUE(returns(control().AddFile("C:\\in\\plain.txt", "", false, ""), 0));
  ASSERT_TRUE(returns(control().AddFile("C:\\in\\" + report, "R\xE9sum\xE9", true, ""), 0));
  ASSERT_TRUE(returns(control().Close(), 0));

  // Only the names outside ASCII carry the flag, in the local and the central header alike.
  const std::string bytes = readFile("C:\\names.zip");
  const std::vector<std::uint16_t> expected = {kUtf8Flag, 0, kUtf8Flag};
  EXPECT_EQ(flagsOf(bytes, "PK\x03\x04", 6), expected);
  EXPECT_EQ(flagsOf(bytes, "PK\x01\x02", 8), expected);

  EXPECT_EQ(python("import sys, zipfile\n"
                   "z = zipfile.ZipFile(sys.argv[1])\n"
                   "print([(i.filename, z.read(i).decode(), i.comment.decode()) "
                   "for i in z.infolist()])\n",
                   "C:\\names.zip"),
            "[('café.txt', 'coffee', ''), ('plain.txt', 'ascii', ''), "
            "('in/Überblick €.doc', 'euro', 'Résumé')]\n");
  const auto listed = runCommand("unzip -l " + shellQuote(hostPath("C:\\names.zip").string()));
  EXPECT_NE(listed.output.find("café.txt"), std::string::npos) << listed.output;
  EXPECT_NE(listed.output.find("in/Überblick €.doc"), std::string::npos) << listed.output;
  const auto unzipped = runCommand("unzip -qq " + shellQuote(hostPath("C:\\names.zip").string()) +
                                   " -d " + shellQuote(hostPath("C:\\").string() + "/peer"));
  EXPECT_EQ(unzipped.exitCode, 0) << unzipped.output;
  EXPECT_EQ(readFile("C:\\peer\\" + cafe), "coffee");
  EXPECT_EQ(readFile("C:\\peer\\in\\" + report), "euro");

  // Read back by us: the host's names again, found and removed by them.
  ASSERT_TRUE(returns(control().OpenZip("C:\\names.zip"), 0));
  EXPECT_TRUE(returns(control().Filename(0), cafe));
  EXPECT_TRUE(returns(control().Filename(2), "in/" + report));
  EXPECT_TRUE(returns(control().FileComment(2), std::string("R\xE9sum\xE9")));
  ASSERT_TRUE(returns(control().RemoveFile(cafe), 0));
  EXPECT_TRUE(returns(control().FileCount(), 2));
  EXPECT_TRUE(returns(control().Filename(1), "in/" + report));
}

TEST_F(NameEncoding, NamesWrittenByZipfileAreReadAsAnsi) {
  // zipfile flags every name outside ASCII; the unflagged archive is made as older tools make
  // them, with the code page's bytes as they are.
  python("import sys, zipfile\n"
         "with zipfile.ZipFile(sys.argv[1], 'w') as z:\n"
         "    z.writestr('na\\u00efve \\u20ac.txt', b'naive')\n"
         "    z.writestr('\\u65e5\\u672c.txt', b'japan')\n"
         "    z.writestr('plain.txt', b'plain')\n",
         "C:\\flagged.zip");
  python("import sys, zipfile\n"
         "zipfile.ZipInfo._encodeFilenameFlags = lambda self: "
         "(self.filename.encode('cp1252'), self.flag_bits)\n"
         "with zipfile.ZipFile(sys.argv[1], 'w') as z:\n"
         "    z.writestr('caf\\u00e9.txt', b'old')\n",
         "C:\\unflagged.zip");
  std::filesystem::create_directories(hostPath("C:\\out"));

  ASSERT_TRUE(returns(control().OpenZip("C:\\flagged.zip"), 0));
  const std::string naive = "na\xEFve \x80.txt";
  EXPECT_TRUE(returns(control().Filename(0), naive));
  EXPECT_TRUE(returns(control().ExtractFile(naive, "C:\\out", ""), 0));
  EXPECT_EQ(readFile("C:\\out\\" + naive), "naive");
  // No ANSI form: listed with '?' standing in, and refused rather than written under a name
  // that another entry could have as well.
  EXPECT_TRUE(returns(control().Filename(1), std::string("??.txt")));
  EXPECT_TRUE(raises(control().ExtractFile("??.txt", "C:\\out", ""), ZipError::FormatError));
  EXPECT_TRUE(raises(control().RemoveFile("??.txt"), ZipError::NotFound));
  EXPECT_TRUE(returns(control().FileCount(), 3));
  EXPECT_TRUE(returns(control().ExtractFile("plain.txt", "C:\\out", ""), 0));
  EXPECT_EQ(folderNames("C:\\out"), (std::vector<std::string>{"naïve €.txt", "plain.txt"}));

  ASSERT_TRUE(returns(control().OpenZip("C:\\unflagged.zip"), 0));
  EXPECT_TRUE(returns(control().Filename(0), std::string("caf\xE9.txt")));
  EXPECT_TRUE(returns(control().ExtractFile("caf\xE9.txt", "C:\\out", ""), 0));
  EXPECT_EQ(readFile("C:\\out\\caf\xE9.txt"), "old");
}

}  // namespace
}  // namespace parcelon::testing
