// Every archive of the public corpus in data/zip-corpus is listed and extracted by the control
// and by unzip. What both extract must be the same names and bytes; what only unzip extracts,
// the control must refuse with an error of its table; and nothing may land outside the
// destination folder. Each archive whose outcome is not "the same as unzip" is named below with
// the reason, so that a change in what we read shows as a failure.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <sstream>

#include "archive_paths.h"
#include "zip_fixture.h"

namespace parcelon::testing {
namespace {

namespace fs = std::filesystem;

enum class Reading {
  Same,         // both extract the same files with the same bytes
  Refused,      // OpenZip raises "Couldn't open ZIP"
  SomeRefused,  // we extract a part of unzip's files, the same; the rest raise or return errors
  PeerRefuses,  // unzip fails on the archive; what both extract is the same
  Differs,      // names differ, for a reason given in the table; bytes never may
};

const char* readingName(Reading reading) {
  switch (reading) {
    case Reading::Same: return "Same";
    case Reading::Refused: return "Refused";
    case Reading::SomeRefused: return "SomeRefused";
    case Reading::PeerRefuses: return "PeerRefuses";
    case Reading::Differs: return "Differs";
  }
  return "?";
}

struct Known {
  const char* archive;  // relative to the corpus folder
  Reading reading;
  const char* why;
};

// clang-format off
const Known kKnown[] = {
    {"go/dupdir.zip", Reading::SomeRefused,
     "a file and a folder of the same name"},
    {"go/symlink.zip", Reading::Differs,
     "a symbolic link: unzip makes a link, we write its target text as a file"},
    {"go/test-badbase.zip", Reading::Refused,
     "more entries than the directory can hold"},
    {"go/test-baddirsz.zip", Reading::SomeRefused,
     "damaged data or directory; unzip warns as well"},
    {"go/utf8-7zip.zip", Reading::SomeRefused,
     "a UTF-8 name with characters Windows-1252 lacks"},
    {"go/utf8-infozip.zip", Reading::SomeRefused,
     "a UTF-8 name with characters Windows-1252 lacks"},
    {"go/utf8-osx.zip", Reading::Differs,
     "unflagged names outside ASCII: we take them as ANSI, unzip as OEM or UTF-8"},
    {"go/utf8-winrar.zip", Reading::SomeRefused,
     "a UTF-8 name with characters Windows-1252 lacks"},
    {"go/utf8-winzip.zip", Reading::SomeRefused,
     "a UTF-8 name with characters Windows-1252 lacks"},
    {"go/zip64-2.zip", Reading::Refused,
     "ZIP64 records"},
    {"go/zip64.zip", Reading::Refused,
     "ZIP64 records"},
    {"libzip/bogus.zip", Reading::Refused,
     "no valid end record"},
    {"libzip/broken.zip", Reading::SomeRefused,
     "damaged data or directory; unzip warns as well"},
    {"libzip/encrypt-aes128-noentropy.zip", Reading::SomeRefused,
     "encryption we do not read (AES, strong) or a damaged one"},
    {"libzip/encrypt-aes128.zip", Reading::SomeRefused,
     "encryption we do not read (AES, strong) or a damaged one"},
    {"libzip/encrypt-aes192-noentropy.zip", Reading::SomeRefused,
     "encryption we do not read (AES, strong) or a damaged one"},
    {"libzip/encrypt-aes192.zip", Reading::SomeRefused,
     "encryption we do not read (AES, strong) or a damaged one"},
    {"libzip/encrypt-aes256-noentropy.zip", Reading::SomeRefused,
     "encryption we do not read (AES, strong) or a damaged one"},
    {"libzip/encrypt-aes256.zip", Reading::SomeRefused,
     "encryption we do not read (AES, strong) or a damaged one"},
    {"libzip/encrypt_plus_extra_modified_c.zip", Reading::SomeRefused,
     "encryption we do not read (AES, strong) or a damaged one"},
    {"libzip/encrypt_plus_extra_modified_l.zip", Reading::SomeRefused,
     "encryption we do not read (AES, strong) or a damaged one"},
    {"libzip/filename_duplicate_empty.zip", Reading::SomeRefused,
     "an empty name"},
    {"libzip/filename_empty.zip", Reading::SomeRefused,
     "an empty name"},
    {"libzip/gap-add.zip", Reading::SomeRefused,
     "damaged data or directory; unzip warns as well"},
    {"libzip/gap-delete.zip", Reading::SomeRefused,
     "damaged data or directory; unzip warns as well"},
    {"libzip/gap-replace.zip", Reading::SomeRefused,
     "damaged data or directory; unzip warns as well"},
    {"libzip/gap.zip", Reading::SomeRefused,
     "damaged data or directory; unzip warns as well"},
    {"libzip/hmac-error.zip", Reading::SomeRefused,
     "encryption we do not read (AES, strong) or a damaged one"},
    {"libzip/incons-cdoffset.zip", Reading::Refused,
     "directory reaches past the end record"},
    {"libzip/incons-cdsize-large.zip", Reading::Refused,
     "directory reaches past the end record"},
    {"libzip/incons-cdsize-small.zip", Reading::SomeRefused,
     "damaged data or directory; unzip warns as well"},
    {"libzip/incons-central-compression-method.zip", Reading::SomeRefused,
     "local and central headers disagree"},
    {"libzip/incons-central-compsize-larger-toolarge.zip", Reading::SomeRefused,
     "local and central headers disagree"},
    {"libzip/incons-central-compsize-larger.zip", Reading::SomeRefused,
     "local and central headers disagree"},
    {"libzip/incons-central-compsize-smaller.zip", Reading::SomeRefused,
     "local and central headers disagree"},
    {"libzip/incons-central-crc.zip", Reading::SomeRefused,
     "local and central headers disagree"},
    {"libzip/incons-central-magic-bad.zip", Reading::SomeRefused,
     "local and central headers disagree"},
    {"libzip/incons-central-magic-bad2.zip", Reading::SomeRefused,
     "local and central headers disagree"},
    {"libzip/incons-central-size-larger.zip", Reading::SomeRefused,
     "local and central headers disagree"},
    {"libzip/incons-data.zip", Reading::SomeRefused,
     "damaged data or directory; unzip warns as well"},
    {"libzip/incons-ef-local-dupe-zip64-v1.zip", Reading::Refused,
     "ZIP64 records"},
    {"libzip/incons-ef-local-dupe-zip64-v2.zip", Reading::Refused,
     "ZIP64 records"},
    {"libzip/incons-ef-local-size.zip", Reading::SomeRefused,
     "local and central headers disagree"},
    {"libzip/incons-eocd-magic-bad.zip", Reading::Refused,
     "no valid end record"},
    {"libzip/incons-eocd64-gap.zip", Reading::Refused,
     "ZIP64 records"},
    {"libzip/incons-eocd64.zip", Reading::Refused,
     "ZIP64 records"},
    {"libzip/incons-file-count-high.zip", Reading::Refused,
     "more entries than the directory can hold"},
    {"libzip/incons-file-count-low.zip", Reading::Differs,
     "the end record counts fewer entries than there are; we list only those"},
    {"libzip/incons-file-count-overflow.zip", Reading::Refused,
     "ZIP64 records"},
    {"libzip/incons-filename-nul-byte.zip", Reading::SomeRefused,
     "local and central headers disagree"},
    {"libzip/incons-gap-before-eocd.zip", Reading::SomeRefused,
     "damaged data or directory; unzip warns as well"},
    {"libzip/incons-local-compression-method.zip", Reading::SomeRefused,
     "local and central headers disagree"},
    {"libzip/incons-local-compsize-larger.zip", Reading::SomeRefused,
     "local and central headers disagree"},
    {"libzip/incons-local-compsize-smaller.zip", Reading::SomeRefused,
     "local and central headers disagree"},
    {"libzip/incons-local-crc.zip", Reading::SomeRefused,
     "local and central headers disagree"},
    {"libzip/incons-local-filename-long.zip", Reading::SomeRefused,
     "local and central headers disagree"},
    {"libzip/incons-local-filename-missing.zip", Reading::SomeRefused,
     "local and central headers disagree"},
    {"libzip/incons-local-filename-short.zip", Reading::SomeRefused,
     "local and central headers disagree"},
    {"libzip/incons-local-magic-bad.zip", Reading::SomeRefused,
     "local and central headers disagree"},
    {"libzip/incons-local-size-larger.zip", Reading::SomeRefused,
     "local and central headers disagree"},
    {"libzip/incons-stored-size.zip", Reading::SomeRefused,
     "local and central headers disagree"},
    {"libzip/incons-zip64-checkcons-overflow.zip", Reading::Refused,
     "ZIP64 records"},
    {"libzip/lzma-no-eos.zip", Reading::SomeRefused,
     "compression method other than stored or deflated"},
    {"libzip/multidisk.zip", Reading::Refused,
     "spans more than one disk"},
    {"libzip/test-cp437-comment-utf-8.zip", Reading::Differs,
     "unflagged names outside ASCII: we take them as ANSI, unzip as OEM or UTF-8"},
    {"libzip/test-cp437-fc-utf-8-filename.zip", Reading::Differs,
     "unflagged names outside ASCII: we take them as ANSI, unzip as OEM or UTF-8"},
    {"libzip/test-cp437.zip", Reading::Differs,
     "unflagged names outside ASCII: we take them as ANSI, unzip as OEM or UTF-8"},
    {"libzip/test-utf8-unmarked.zip", Reading::Differs,
     "unflagged names outside ASCII: we take them as ANSI, unzip as OEM or UTF-8"},
    {"libzip/test-utf8.zip", Reading::SomeRefused,
     "a UTF-8 name with characters Windows-1252 lacks"},
    {"libzip/testbzip2.zip", Reading::SomeRefused,
     "compression method other than stored or deflated"},
    {"libzip/testbzip2broken.zip", Reading::SomeRefused,
     "compression method other than stored or deflated"},
    {"libzip/testfile-cp437.zip", Reading::Differs,
     "unflagged names outside ASCII: we take them as ANSI, unzip as OEM or UTF-8"},
    {"libzip/testfile-lzma.zip", Reading::SomeRefused,
     "compression method other than stored or deflated"},
    {"libzip/testfile-truncated.zip", Reading::Refused,
     "no valid end record"},
    {"libzip/testfile-xz.zip", Reading::SomeRefused,
     "compression method other than stored or deflated"},
    {"libzip/testfile-zstd.zip", Reading::SomeRefused,
     "compression method other than stored or deflated"},
    {"libzip/utf-8-standardization-input.zip", Reading::Differs,
     "unflagged names outside ASCII: we take them as ANSI, unzip as OEM or UTF-8"},
    {"libzip/utf-8-standardization-output.zip", Reading::Differs,
     "UTF-8 flagged name made on MS-DOS: unzip takes it as OEM text, we read the UTF-8"},
    {"libzip/zip64-3mf.zip", Reading::Refused,
     "ZIP64 records"},
    {"libzip/zip64-in-archive-comment.zip", Reading::Refused,
     "ZIP64 records"},
    {"libzip/zip64.zip", Reading::Refused,
     "ZIP64 records"},
    {"yauzl/failure/End of central directory record signature not found Either not a zip file or file is truncated.zip", Reading::Refused,
     "no valid end record"},
    {"yauzl/failure/End of central directory record signature not found Either not a zip file or file is truncated_1.zip", Reading::Refused,
     "no valid end record"},
    {"yauzl/failure/absolute path C xt.zip", Reading::SomeRefused,
     "a name that leaves the destination folder"},
    {"yauzl/failure/absolute path atxt.zip", Reading::SomeRefused,
     "a name that leaves the destination folder"},
    {"yauzl/failure/compressed uncompressed size mismatch for stored file 2147483647 5.zip", Reading::SomeRefused,
     "local and central headers disagree"},
    {"yauzl/failure/file data overflows file bounds 63 2147483647 308.zip", Reading::SomeRefused,
     "local and central headers disagree"},
    {"yauzl/failure/invalid characters in fileName a txt.zip", Reading::Differs,
     "a name with a backslash: we take it as a folder separator, unzip does not"},
    {"yauzl/failure/invalid code lengths set.zip", Reading::SomeRefused,
     "damaged data or directory; unzip warns as well"},
    {"yauzl/failure/invalid local file header signature 0x3034b50.zip", Reading::SomeRefused,
     "local and central headers disagree"},
    {"yauzl/failure/invalid relative path xt.zip", Reading::SomeRefused,
     "a name that leaves the destination folder"},
    {"yauzl/failure/invalid zip64 end of central directory record signature.zip", Reading::Refused,
     "ZIP64 records"},
    {"yauzl/failure/multi-disk zip files are not supported found disk number 1.zip", Reading::Refused,
     "spans more than one disk"},
    {"yauzl/failure/not enough bytes in the stream expected 2048576 got only 1000000.zip", Reading::SomeRefused,
     "the data is longer or shorter than its declared size"},
    {"yauzl/failure/strong encryption is not supported.zip", Reading::SomeRefused,
     "encryption we do not read (AES, strong) or a damaged one"},
    {"yauzl/failure/too many bytes in the stream expected 82496 got at least 98304.zip", Reading::SomeRefused,
     "the data is longer or shorter than its declared size"},
    {"yauzl/failure/too many length or distance symbols.zip", Reading::SomeRefused,
     "damaged data or directory; unzip warns as well"},
    {"yauzl/failure/unexpected EOF.zip", Reading::Refused,
     "ZIP64 records"},
    {"yauzl/failure/unsupported compression method 1.zip", Reading::SomeRefused,
     "compression method other than stored or deflated"},
    {"yauzl/failure/zip64 extended information extra field does not include compressed size.zip", Reading::Refused,
     "ZIP64 records"},
    {"yauzl/failure/zip64 extended information extra field does not include relative header offset.zip", Reading::Refused,
     "ZIP64 records"},
    {"yauzl/failure/zip64 extended information extra field does not include uncompressed size.zip", Reading::Refused,
     "ZIP64 records"},
    {"yauzl/success/bogus-compression-method.zip", Reading::SomeRefused,
     "compression method other than stored or deflated"},
    {"yauzl/success/sloppy-filenames.zip", Reading::Differs,
     "a name with a backslash: we take it as a folder separator, unzip does not"},
    {"yauzl/success/traditional-encryption-and-compression.zip", Reading::SomeRefused,
     "encrypted, no password known to the test; unzip cannot either"},
    {"yauzl/success/traditional-encryption-and-compression_deprecated.zip", Reading::SomeRefused,
     "encrypted, no password known to the test; unzip cannot either"},
    {"yauzl/success/traditional-encryption.zip", Reading::SomeRefused,
     "encrypted, no password known to the test; unzip cannot either"},
    {"yauzl/success/traditional-encryption_deprecated.zip", Reading::SomeRefused,
     "encrypted, no password known to the test; unzip cannot either"},
    {"yauzl/success/unicode-path-extra-field.zip", Reading::SomeRefused,
     "a name of control characters the host cannot create"},
    {"yauzl/success/zip64.zip", Reading::Refused,
     "ZIP64 records"},
    {"yauzl/wrong-entry-sizes/wrong-entry-sizes.zip", Reading::SomeRefused,
     "local and central headers disagree"},
};
// clang-format on

const std::map<std::string, std::string> kPasswords = {
    {"libzip/encrypt.zip", "foo"},
    {"libzip/encrypt_plus_extra.zip", "foo"},
    {"libzip/encrypt_plus_extra_modified_c.zip", "foo"},
    {"libzip/encrypt_plus_extra_modified_l.zip", "foo"},
    {"libzip/encrypt-1234.zip", "1234"},
    {"libzip/empty-pkware.zip", "1"},
    {"libzip/encrypt-pkware-noentropy.zip", "no-entropy"},
    {"libzip/encrypt-pkware-noentropy-2.zip", "no-entropy"},
    {"libzip/encrypt-none.zip", "foofoofoo"},
    {"libzip/encrypt-aes128.zip", "foofoofoo"},
    {"libzip/encrypt-aes128-noentropy.zip", "foofoofoo"},
    {"libzip/encrypt-aes192.zip", "foofoofoo"},
    {"libzip/encrypt-aes192-noentropy.zip", "foofoofoo"},
    {"libzip/encrypt-aes256.zip", "foofoofoo"},
    {"libzip/encrypt-aes256-noentropy.zip", "foofoofoo"},
};

constexpr const char* kCorpus = PARCELON_CORPUS_DIR;

std::vector<std::string> corpusArchives() {
  std::vector<std::string> archives;
  for (const auto& entry : fs::recursive_directory_iterator(fs::path(kCorpus))) {
    if (entry.is_regular_file() && entry.path().extension() == ".zip") {
      archives.push_back(entry.path().lexically_relative(kCorpus).generic_string());
    }
  }
  std::sort(archives.begin(), archives.end());
  return archives;
}

std::string readHostFile(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << file.rdbuf();
  return bytes.str();
}

// Regular files below `folder` by relative path; unzip's symbolic links are no files we make.
std::map<std::string, std::string> filesBelow(const fs::path& folder) {
  std::map<std::string, std::string> files;
  if (!fs::exists(folder)) return files;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    if (entry.is_regular_file() && !entry.is_symlink()) {
      files[entry.path().lexically_relative(folder).generic_string()] = readHostFile(entry.path());
    }
  }
  return files;
}

class Corpus : public ZipTest, public ::testing::WithParamInterface<std::string> {
 protected:
  struct Ours {
    bool refused = false;
    int failures = 0;  // entries that raised an error or returned a negative result
  };

  Ours extractWithControl(const std::string& password) {
    Ours ours;
    const auto opened = control().OpenZip("C:\\in\\a.zip");
    if (opened.raised()) {
      EXPECT_TRUE(raises(opened, ZipError::CouldntOpen));
      ours.refused = true;
      return ours;
    }
    const std::int32_t count = control().FileCount().value();
    for (std::int32_t rec = 0; rec < count; ++rec) {
      const std::string name = control().Filename(rec).value();
      if (!name.empty() && name.back() == '/') continue;  // a folder entry
      // The folders an entry needs, as the program's restore makes them; never for a name
      // that leaves the folder, which the control refuses anyway.
      const auto slash = name.find_last_of("/\\");
      if (slash != std::string::npos && staysInFolder(name)) {
        // A name the host cannot spell, or one whose folder is a file, gets no folder.
        std::error_code ignored;
        const fs::path folder = hostPath("C:\\out\\" + name.substr(0, slash));
        if (!folder.empty()) fs::create_directories(folder, ignored);
      }
      const auto extracted = control().ExtractFile(name, "C:\\out", password);
      if (extracted.raised() || extracted.value() != 0) ++ours.failures;
    }
    EXPECT_TRUE(returns(control().Close(), 0));
    return ours;
  }

  // Every file on drive C lies in the archive's, unzip's or our folder.
  void expectNothingOutside() {
    const fs::path root = hostPath("C:\\");
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
      if (entry.is_directory()) continue;
      const std::string relative = entry.path().lexically_relative(root).generic_string();
      const std::string top = relative.substr(0, relative.find('/'));
      EXPECT_TRUE(top == "in" || top == "out" || top == "peer") << relative;
    }
  }
};

TEST_P(Corpus, ControlExtractsWhatUnzipExtractsOrRefuses) {
  const std::string& archive = GetParam();
  const auto password = kPasswords.count(archive) ? kPasswords.at(archive) : std::string();
  writeFile("C:\\in\\a.zip", readHostFile(fs::path(kCorpus) / archive));
  std::filesystem::create_directories(hostPath("C:\\out"));
  std::filesystem::create_directories(hostPath("C:\\peer"));

  // unzip may believe a size of 4 GiB: the file size limit keeps it from filling the disk.
  const std::string options = password.empty() ? "" : "-P " + shellQuote(password) + " ";
  const auto peer = runCommand("ulimit -f 200000; unzip -o -qq " + options +
                               shellQuote(hostPath("C:\\in\\a.zip").string()) + " -d " +
                               shellQuote(hostPath("C:\\peer").string()));
  const Ours ours = extractWithControl(password);
  expectNothingOutside();

  const auto theirs = filesBelow(hostPath("C:\\peer"));
  const auto mine = filesBelow(hostPath("C:\\out"));
  int sameBytes = 0, otherBytes = 0, onlyTheirs = 0, onlyMine = 0;
  for (const auto& [name, bytes] : theirs) {
    const auto found = mine.find(name);
    if (found == mine.end()) {
      ++onlyTheirs;
    } else {
      ++(found->second == bytes ? sameBytes : otherBytes);
    }
  }
  for (const auto& [name, bytes] : mine) onlyMine += theirs.count(name) == 0 ? 1 : 0;
  EXPECT_EQ(otherBytes, 0) << archive << ": a file both extract differs";

  Reading reading = Reading::Differs;
  if (ours.refused) {
    reading = Reading::Refused;
  } else if (otherBytes == 0 && onlyMine == 0 && onlyTheirs == 0 && ours.failures == 0) {
    reading = Reading::Same;
  } else if (otherBytes == 0 && onlyMine == 0 && onlyTheirs <= ours.failures) {
    reading = Reading::SomeRefused;
  } else if (otherBytes == 0 && onlyTheirs == 0 && peer.exitCode != 0) {
    reading = Reading::PeerRefuses;
  }

  Reading expected = Reading::Same;
  for (const Known& known : kKnown) {
    if (archive == known.archive) expected = known.reading;
  }
  EXPECT_EQ(readingName(reading), std::string(readingName(expected)))
      << archive << ": same " << sameBytes << ", other bytes " << otherBytes << ", only unzip's "
      << onlyTheirs << ", only ours " << onlyMine << ", our failures " << ours.failures
      << ", unzip exit " << peer.exitCode << "\n"
      << peer.output;
}

// A row for an archive that is gone would hide nothing, and mean nothing.
TEST(CorpusTable, NamesOnlyArchivesOfTheCorpus) {
  const auto archives = corpusArchives();
  EXPECT_EQ(archives.size(), 244u);
  for (const Known& known : kKnown) {
    EXPECT_TRUE(std::binary_search(archives.begin(), archives.end(), known.archive))
        << known.archive;
  }
}

INSTANTIATE_TEST_SUITE_P(Archives, Corpus, ::testing::ValuesIn(corpusArchives()),
                         [](const auto& info) {
                           std::string name;
                           for (const char c : info.param) {
                             name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                           }
                           return name;
                         });

}  // namespace
}  // namespace parcelon::testing
