#include "linked_share.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "materialise_command.h"
#include "native_machine.h"
#include "platform/clock.h"
#include "platform/testing/temporary_machine_root.h"
#include "platform/text_file.h"
#include "sample_materialiser.h"

namespace simwin {
namespace {

namespace fs = std::filesystem;
using namespace platform;

const fs::path kSamples = TRANSVALE_SAMPLES_DIR;

TEST(LinkedShare, ReadsShareAndFolder) {
  struct Case {
    const char* text;
    const char* share;  // nullptr: refused
  };
  const Case cases[] = {
      {"\\\\fileserver\\migrate=/srv/migrate", "\\\\fileserver\\migrate"},
      {"\\\\FILESERVER\\Migrate=/srv/a=b", "\\\\FILESERVER\\Migrate"},  // the first = ends it
      {"\\\\fileserver\\migrate", nullptr},
      {"\\\\fileserver\\migrate=", nullptr},
      {"\\\\fileserver=/srv", nullptr},
      {"fileserver\\migrate=/srv", nullptr},
      {"\\\\fileserver\\migrate\\deeper=/srv", nullptr},
  };
  for (const Case& c : cases) {
    const auto link = parseLinkedShare(c.text);
    ASSERT_EQ(link.ok(), c.share != nullptr) << c.text;
    if (!link) continue;
    EXPECT_EQ(link->share, c.share);
    EXPECT_TRUE(link->hostFolder.is_absolute());
  }
  EXPECT_EQ(parseLinkedShare("\\\\s\\x=/srv/a=b")->hostFolder, fs::path("/srv/a=b"));
  EXPECT_EQ(parseLinkedShare("\\\\s\\x=relative")->hostFolder, fs::current_path() / "relative");
}

// What the technician leaves on the share from the old machine, the new machine finds there;
// making a machine again leaves the share's folder as it was.
TEST(LinkedShare, MachinesMadeWithOneLinkSeeOneShare) {
  platform::testing::TemporaryMachineRoot folder;
  const fs::path share = folder.path() / "migrate";
  fs::create_directories(share);
  const LinkedShare link = parseLinkedShare("\\\\FileServer\\MIGRATE=" + share.string()).value();
  ASSERT_TRUE(materialiseSample(kSamples / "old-win2000", folder.path() / "old", {link}).ok());
  ASSERT_TRUE(materialiseSample(kSamples / "new-win2000", folder.path() / "new", {link}).ok());

  VirtualClock clock;
  {
    NativeMachine old(folder.path() / "old", clock, "Z:\\tools");
    ASSERT_EQ(old.files().createFolder("\\\\fileserver\\migrate\\jsmith"), ERROR_SUCCESS);
    ASSERT_EQ(
        writeWholeFile(old.files(), "\\\\fileserver\\migrate\\jsmith\\Master.mig", "[Username]"),
        ERROR_SUCCESS);
  }
  ASSERT_TRUE(materialiseSample(kSamples / "old-win2000", folder.path() / "old", {link}).ok());
  NativeMachine fresh(folder.path() / "new", clock, "Z:\\tools");
  EXPECT_EQ(readWholeFile(fresh.files(), "\\\\FILESERVER\\migrate\\JSMITH\\master.mig").valueOr(""),
            "[Username]");
  EXPECT_TRUE(fs::is_regular_file(share / "jsmith" / "Master.mig"));
  // One server and one share, in the case the sample gave them.
  const fs::path unc = folder.path() / "new" / "dosdevices" / "unc";
  EXPECT_EQ(std::distance(fs::directory_iterator(unc), fs::directory_iterator()), 2);  // and PRNSRV
  EXPECT_TRUE(fs::is_symlink(unc / "fileserver" / "migrate"));
}

TEST(LinkedShare, TakesThePlaceOfTheSamplesShareAndNeverWritesTheFolder) {
  platform::testing::TemporaryMachineRoot folder;
  const fs::path sample = folder.path() / "sample";
  fs::create_directories(sample / "files" / "unc" / "srv" / "data");
  std::ofstream(sample / "files" / "unc" / "srv" / "data" / "stand-in.txt") << "from the sample";
  std::ofstream(sample / "machine.txt") << "drive C: hd drive_c\ndrive S: network unc/srv/data\n"
                                        << "time \\\\srv\\data\\stand-in.txt 1999-01-01 00:00:00\n";
  const fs::path host = folder.path() / "host";
  fs::create_directories(host);
  std::ofstream(host / "kept.txt") << "the server's";
  const auto before = fs::last_write_time(host / "kept.txt");

  ASSERT_TRUE(materialiseSample(sample, folder.path() / "m", {{"\\\\srv\\data", host}}).ok());
  VirtualClock clock;
  NativeMachine machine(folder.path() / "m", clock, "Z:\\tools");
  EXPECT_TRUE(machine.files().fileExists("S:\\kept.txt"));
  EXPECT_FALSE(machine.files().fileExists("\\\\srv\\data\\stand-in.txt"));
  EXPECT_EQ(machine.files().drive('S')->remotePath, "\\\\srv\\data");
  EXPECT_FALSE(fs::exists(host / "stand-in.txt"));
  EXPECT_EQ(fs::last_write_time(host / "kept.txt"), before);
}

TEST(LinkedShare, RefusesAFolderThatIsMissingOrInsideTheMachine) {
  platform::testing::TemporaryMachineRoot folder;
  const fs::path machine = folder.path() / "m";
  ASSERT_TRUE(materialiseSample(kSamples / "new-win2000", machine).ok());
  std::ofstream(machine / "drive_c" / "work.txt") << "made on this machine";
  for (const fs::path& host : {folder.path() / "missing", machine / "drive_c"}) {
    const auto made =
        materialiseSample(kSamples / "new-win2000", machine, {{"\\\\fileserver\\migrate", host}});
    EXPECT_FALSE(made.ok()) << host;
    // Refused before anything was cleared.
    EXPECT_TRUE(fs::exists(machine / "drive_c" / "work.txt")) << host;
  }
}

TEST(MaterialiseCommand, TakesSharesBeforeOrAfterThePlaces) {
  platform::testing::TemporaryMachineRoot folder;
  const std::string sample = (kSamples / "new-win2000").string();
  const std::string share = "\\\\fileserver\\migrate=" + folder.path().string();
  const std::string dest = (folder.path() / "m").string();
  struct Case {
    std::vector<std::string> args;
    int status;
  };
  const Case cases[] = {
      {{sample, dest, "--share", share}, 0},
      {{"--share=" + share, sample, dest}, 0},
      {{sample, dest}, 0},
      {{sample, dest, "--share"}, 2},
      {{"--share", "\\\\fileserver=/x", sample, dest}, 2},
      {{"--shares=" + share, sample, dest}, 2},
      {{sample}, 2},
      {{(folder.path() / "no-sample").string(), (folder.path() / "x").string()}, 1},
  };
  for (const Case& c : cases) {
    std::ostringstream out, err;
    EXPECT_EQ(runMaterialiseCommand(c.args, out, err), c.status) << c.args[0] << err.str();
  }
  std::ostringstream out, err;
  ASSERT_EQ(runMaterialiseCommand({"--share", share, sample, dest}, out, err), 0);
  EXPECT_NE(out.str().find("\\\\fileserver\\migrate is the folder " + folder.path().string()),
            std::string::npos)
      << out.str();
}

}  // namespace
}  // namespace simwin
