// The disk fills part-way through each way the component changes files: for every N, the N-th
// write fails, and every one after it. Whatever N, the archive is the one it was or the whole new
// one, a file being extracted over keeps its old bytes or gets all the new ones, the sources are
// untouched, no temporary file is left, and a call that did not finish says so.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/testing/faulty_machine.h"
#include "zip_fixture.h"

namespace parcelon::testing {
namespace {

struct Change {
  const char* name;
  // Makes the call on an open control over the archive; whether it reported success.
  std::function<bool(ParcelonCtrl&)> call;
};

class WriteFaultSweep : public ZipTest {
 protected:
  void SetUp() override {
    writeFile("C:\\in\\a.txt", textBytes(30000));
    writeFile("C:\\in\\b.bin", noiseBytes(70000, 7));
    writeFile("C:\\in\\c.txt", "the third");
    ASSERT_EQ(files().createFolder("C:\\arc"), platform::ERROR_SUCCESS);
    makeArchive("C:\\arc\\old.zip",
                {{"C:\\in\\a.txt", textBytes(30000)}, {"C:\\in\\b.bin", noiseBytes(70000, 7)}});
    writeFile("C:\\out\\in\\a.txt", "what the user had before");
  }

  // Runs `change` on a fresh copy of the archive with the N-th write failing (none for 0); the
  // number of writes it made, and whether it reported success.
  std::size_t run(const Change& change, std::size_t failing, bool& reported) {
    writeFile("C:\\arc\\work.zip", readFile("C:\\arc\\old.zip"));
    writeFile("C:\\out\\in\\a.txt", "what the user had before");
    platform::testing::FaultyFileSystem faulty(files());
    faulty.countWritesTo({});
    if (failing > 0) faulty.failWriteNumber(failing);
    ParcelonCtrl control(faulty, random(), {}, &threads());
    reported = !control.OpenZip("C:\\arc\\work.zip").raised() && change.call(control);
    static_cast<void>(control.Close());
    return faulty.writes();
  }

  // The archive's names through `unzip`, or empty when it does not test whole.
  std::string wholeListing(const std::string& archive) {
    const std::string host = shellQuote(hostPath(archive).string());
    if (runCommand("unzip -tq " + host).exitCode != 0) return "";
    return runCommand("zipinfo -1 " + host).output;
  }

  void sweep(const Change& change) {
    bool reported = false;
    const std::size_t writes = run(change, 0, reported);
    ASSERT_TRUE(reported);
    ASSERT_GT(writes, 0u);
    const std::string before = readFile("C:\\arc\\old.zip");
    const std::string after = readFile("C:\\arc\\work.zip");
    const std::string extractedAfter = readFile("C:\\out\\in\\a.txt");
    for (std::size_t failing = 1; failing <= writes; ++failing) {
      SCOPED_TRACE(std::string(change.name) + ", write " + std::to_string(failing) + " of " +
                   std::to_string(writes));
      run(change, failing, reported);
      const std::string archive = readFile("C:\\arc\\work.zip");
      EXPECT_TRUE(archive == before ||
                  (archive == after && !wholeListing("C:\\arc\\work.zip").empty()))
          << archive.size();
      const std::string extracted = readFile("C:\\out\\in\\a.txt");
      EXPECT_TRUE(extracted == "what the user had before" || extracted == extractedAfter);
      EXPECT_FALSE(reported && (archive != after || extracted != extractedAfter))
          << "a call that did not finish reported success";
      EXPECT_EQ(readFile("C:\\in\\a.txt"), textBytes(30000));
      EXPECT_EQ(folderNames("C:\\arc"), (std::vector<std::string>{"old.zip", "work.zip"}));
    }
  }
};

TEST_F(WriteFaultSweep, AFileMergedIn) {
  sweep({"AddFile", [](ParcelonCtrl& control) {
           const auto added = control.AddFile("C:\\in\\c.txt", "", false, "");
           return !added.raised() && added.value() == 0;
         }});
}

TEST_F(WriteFaultSweep, AFileMergedInWithAPassword) {
  sweep({"AddFile with a password", [](ParcelonCtrl& control) {
           const auto added = control.AddFile("C:\\in\\b.bin", "", false, "secret");
           return !added.raised() && added.value() == 0;
         }});
}

TEST_F(WriteFaultSweep, AnEntryRemoved) {
  sweep({"RemoveFile", [](ParcelonCtrl& control) {
           const auto removed = control.RemoveFile("in/a.txt");
           return !removed.raised() && removed.value() == 0;
         }});
}

TEST_F(WriteFaultSweep, AnEntryExtractedOverAFile) {
  sweep({"ExtractFile", [](ParcelonCtrl& control) {
           const auto extracted = control.ExtractFile("in/a.txt", "C:\\out", "");
           return !extracted.raised() && extracted.value() == 0;
         }});
}

}  // namespace
}  // namespace parcelon::testing
