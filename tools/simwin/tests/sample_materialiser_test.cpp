#include "sample_materialiser.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <ostream>
#include <string>

#include "native_machine.h"
#include "platform/clock.h"
#include "sample_description.h"

namespace simwin {
namespace {

namespace fs = std::filesystem;
using namespace platform;

class TemporaryFolder {
 public:
  TemporaryFolder() {
    std::string pattern = (fs::temp_directory_path() / "simwin-test-XXXXXX").string();
    m_path = ::mkdtemp(pattern.data()) ? fs::path(pattern) : fs::path();
  }
  ~TemporaryFolder() {
    std::error_code ignored;
    fs::remove_all(m_path, ignored);  // removes the z: link itself, never the host
  }
  const fs::path& path() const { return m_path; }

 private:
  fs::path m_path;
};

std::string registryText(Registry& registry, HKEY root, const char* key, const char* name) {
  HKEY handle = 0;
  if (registry.RegOpenKeyExA(root, key, 0, KEY_READ, &handle) != ERROR_SUCCESS) return "<no key>";
  char data[512] = {};
  DWORD size = sizeof data - 1;
  const Status status =
      registry.RegQueryValueExA(handle, name, nullptr, reinterpret_cast<BYTE*>(data), &size);
  ignoreFailure(registry.RegCloseKey(handle), "a key opened for reading");
  return status.ok() ? std::string(data) : "<no value>";
}

struct SampleCase {
  const char* name;
  const char* user;
  std::optional<std::string> os;
  const char* windir;
  std::optional<std::string> profile;
  const char* label;
  const char* personal;  // Shell Folders\Personal
  const char* document;  // a document with its own time
  const char* documentTime[2];
  std::uint32_t documentAttributes;
};

// Names the case in test listings by its sample, not by its bytes.
void PrintTo(const SampleCase& sample, std::ostream* out) { *out << sample.name; }

class BundledSamples : public ::testing::TestWithParam<SampleCase> {};

TEST_P(BundledSamples, MaterialiseIntoWhatTheProgramExpects) {
  const SampleCase& c = GetParam();
  TemporaryFolder folder;
  const fs::path root = folder.path() / c.name;
  auto made = materialiseSample(fs::path(TRANSVALE_SAMPLES_DIR) / c.name, root);
  ASSERT_TRUE(made.ok()) << made.subject();

  VirtualClock clock;
  NativeMachine machine(root, clock, "Z:\\tools");
  EXPECT_EQ(machine.environment().userName().valueOr(""), c.user);
  EXPECT_EQ(machine.environment().variable("OS"), c.os);
  EXPECT_EQ(machine.environment().variable("windir"), c.windir);
  EXPECT_EQ(machine.environment().variable("USERPROFILE"), c.profile);
  const auto drive = machine.files().drive('C');
  ASSERT_TRUE(drive.ok());
  EXPECT_EQ(drive->label, c.label);
  EXPECT_EQ(machine.files().drive('D')->type, DriveType::CdRom);
  EXPECT_FALSE(machine.files().drive('D')->ready);
  EXPECT_EQ(machine.files().drive('A')->type, DriveType::Removable);
  EXPECT_TRUE(machine.files().folderExists(c.personal));
  EXPECT_EQ(registryText(machine.registry(), HKEY_CURRENT_USER,
                         "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
                         "Personal"),
            c.personal);
  if (c.document != nullptr) {
    const auto info = machine.files().fileInfo(c.document);
    ASSERT_TRUE(info.ok()) << c.document;
    EXPECT_EQ(info->lastWrite, parseSampleTime(c.documentTime[0], c.documentTime[1]));
    EXPECT_EQ(info->attributes, c.documentAttributes);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Samples, BundledSamples,
    ::testing::Values(
        SampleCase{"old-win2000",
                   "jsmith",
                   "Windows_NT",
                   "C:\\WINNT",
                   "C:\\Documents and Settings\\jsmith",
                   "SYSTEM",
                   "C:\\Documents and Settings\\jsmith\\My Documents",
                   "C:\\Documents and Settings\\jsmith\\My Documents\\Reports\\Q1 report.doc",
                   {"2001-04-03", "14:00:00"},
                   FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY},
        SampleCase{"old-win98",
                   "mary",
                   std::nullopt,
                   "C:\\WINDOWS",
                   std::nullopt,
                   "MARY98",
                   "C:\\My Documents",
                   "C:\\MSDOS.SYS",
                   {"2000-12-24", "18:00:00"},
                   FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                       FILE_ATTRIBUTE_SYSTEM},
        SampleCase{"new-win2000",
                   "jsmith",
                   "Windows_NT",
                   "C:\\WINNT",
                   "C:\\Documents and Settings\\jsmith",
                   "NEWPC",
                   "C:\\Documents and Settings\\jsmith\\My Documents",
                   nullptr,
                   {},
                   0},
        SampleCase{"new-win2000-2",
                   "mary",
                   "Windows_NT",
                   "C:\\WINNT",
                   "C:\\Documents and Settings\\mary",
                   "NEWPC2",
                   "C:\\Documents and Settings\\mary\\My Documents",
                   "C:\\boot.ini",
                   {"2001-06-15", "09:00:00"},
                   FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                       FILE_ATTRIBUTE_SYSTEM}),
    [](const auto& info) {
      std::string name = info.param.name;
      for (char& c : name) c = c == '-' ? '_' : c;
      return name;
    });

TEST(Materialise, OldWin2000HasItsNetworkDrive) {
  TemporaryFolder folder;
  ASSERT_TRUE(
      materialiseSample(fs::path(TRANSVALE_SAMPLES_DIR) / "old-win2000", folder.path() / "m"));
  VirtualClock clock;
  NativeMachine machine(folder.path() / "m", clock, "Z:\\tools");
  const auto f = machine.files().drive('F');
  ASSERT_TRUE(f.ok());
  EXPECT_EQ(f->type, DriveType::Remote);
  EXPECT_EQ(f->remotePath, "\\\\fileserver\\public");
  EXPECT_TRUE(machine.files().fileExists("F:\\Forms\\Expense form.xls"));
  EXPECT_TRUE(machine.files().fileExists("\\\\FILESERVER\\Public\\forms\\expense form.xls"));
}

TEST(Materialise, PrintersTravelFromTheOldMachineToTheNew) {
  TemporaryFolder folder;
  ASSERT_TRUE(
      materialiseSample(fs::path(TRANSVALE_SAMPLES_DIR) / "old-win2000", folder.path() / "old"));
  ASSERT_TRUE(
      materialiseSample(fs::path(TRANSVALE_SAMPLES_DIR) / "new-win2000", folder.path() / "new"));
  VirtualClock clock;
  NativeMachine old(folder.path() / "old", clock, "Z:\\tools");
  std::vector<std::string> list;
  for (const ListedPrinter& printer : old.printers().printerList()) {
    list.push_back(printer.deviceName + " = " + printer.printerValue);
  }
  EXPECT_EQ(list,
            (std::vector<std::string>{"HP LaserJet 4050 Series PCL = HP LaserJet 4050 Series PCL 6",
                                      "\\\\PRNSRV\\Laser1 = \\\\PRNSRV\\Laser1"}));
  EXPECT_EQ(old.nativePrinters().connections()[0].driver, "HP LaserJet 5Si - DFS");

  // What the restore starts for these two succeeds on the new machine.
  NativeMachine fresh(folder.path() / "new", clock, "Z:\\tools");
  for (const char* line :
       {"con2prt /c \\\\PRNSRV\\Laser1",
        "rundll32 printui.dll, PrintUIEntry /if /b \"HP LaserJet 4050 Series PCL\" /f "
        "C:\\WINNT\\inf\\ntprint.inf /r \"LPT1:\" /m \"HP LaserJet 4050 Series PCL\""}) {
    auto outcome = fresh.processes().start(line, WindowStyle::Hidden, Wait::Yes);
    ASSERT_TRUE(outcome.ok()) << line;
    EXPECT_EQ(outcome->exitCode, 0u) << line;
  }
  EXPECT_EQ(fresh.printers().printerList().size(), 2u);
}

TEST(Materialise, KeepsPrintersAndCataloguesInsideTheMachine) {
  TemporaryFolder folder;
  const fs::path sample = folder.path() / "sample";
  fs::create_directories(sample);
  std::ofstream(sample / "machine.txt") << "drive C: hd drive_c\ndrive Z: hd /\n"
                                        << "share \\\\srv\\empty\n"
                                        << "driver-catalogue C:\\WINNT\\inf\\x.inf \"M 1\"\n";
  ASSERT_TRUE(materialiseSample(sample, folder.path() / "m").ok());
  EXPECT_TRUE(fs::is_directory(folder.path() / "m" / "dosdevices" / "unc" / "srv" / "empty"));
  EXPECT_TRUE(fs::exists(folder.path() / "m" / "drive_c" / "WINNT" / "inf" / "x.inf"));

  const std::string outside = (folder.path() / "outside.inf").string();
  std::ofstream(sample / "machine.txt") << "drive C: hd drive_c\ndrive Z: hd /\n"
                                        << "driver-catalogue \"Z:" << outside << "\" M\n";
  EXPECT_FALSE(materialiseSample(sample, folder.path() / "m").ok());
  EXPECT_FALSE(fs::exists(outside));
  std::ofstream(sample / "machine.txt") << "printer A D\nprinter a D\n";
  EXPECT_FALSE(materialiseSample(sample, folder.path() / "m").ok());
}

TEST(Materialise, ReplacesItsOwnMachineButNothingElse) {
  TemporaryFolder folder;
  const fs::path sample = fs::path(TRANSVALE_SAMPLES_DIR) / "new-win2000";
  const fs::path machine = folder.path() / "machine";
  ASSERT_TRUE(materialiseSample(sample, machine).ok());
  std::ofstream(machine / "drive_c" / "extra.txt") << "added later";
  ASSERT_TRUE(materialiseSample(sample, machine).ok());
  EXPECT_FALSE(fs::exists(machine / "drive_c" / "extra.txt"));

  const fs::path other = folder.path() / "other";
  fs::create_directories(other);
  std::ofstream(other / "precious.txt") << "keep";
  auto refused = materialiseSample(sample, other);
  EXPECT_FALSE(refused.ok());
  EXPECT_TRUE(fs::exists(other / "precious.txt"));
  EXPECT_FALSE(materialiseSample(folder.path() / "no-sample", folder.path() / "x").ok());
  EXPECT_FALSE(fs::exists(folder.path() / "x"));
}

}  // namespace
}  // namespace simwin
