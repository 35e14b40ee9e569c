// The program folder of the samples (samples/program): the configuration that makes
// `migration auto` capture everything, and the printer files beside it.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "context/mdl_config.h"
#include "testing/test_program.h"

namespace {

namespace fs = std::filesystem;

std::string programFile(const char* name) {
  std::ifstream file(fs::path(TRANSVALE_SAMPLES_DIR) / "program" / name, std::ios::binary);
  std::ostringstream bytes;
  bytes << file.rdbuf();
  return bytes.str();
}

// Lines end in CR LF, as the program writes and reads its text files.
bool endsEveryLineWithCrLf(const std::string& text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) return false;
  }
  return text.empty() || text.ends_with("\r\n");
}

TEST(SampleProgram, ConfigurationSelectsEverySettingAndReadsWhole) {
  const std::string config = programFile("CONFIG.MIG");
  EXPECT_TRUE(endsEveryLineWithCrLf(config));
  migration::testing::TestProgram test;
  migration::Program& program = test.program();
  program.session.strAppPath = "C:\\Tools";
  test.writeFile("C:\\Tools\\CONFIG.MIG", config);
  ASSERT_TRUE(migration::LoadConfig(program));

  const migration::Configuration& values = program.config;
  std::vector<std::string> everySetting;
  for (int index = 0; index <= 22; ++index) everySetting.push_back(std::to_string(index));
  EXPECT_EQ(migration::splitCommaList(values.strDefaultMigrationSettings), everySetting);
  for (const std::string& type : migration::splitCommaList(values.strDefaultFileTypes)) {
    EXPECT_TRUE(type.size() == 1 && type[0] >= '0' && type[0] <= '8') << type;  // nine types
  }
  EXPECT_EQ(values.strDefaultScanDrive, "c:\\");
  EXPECT_EQ(values.strDefaultMigrationType, "3,4");
  EXPECT_EQ(values.varDefaultCustomTypes, "txt");
  // The scan leaves out the systems' folders and the migration directory it is writing into.
  const std::vector<std::string> excluded = migration::splitCommaList(values.strDefaultExcludeList);
  for (const char* folder : {"c:\\winnt", "c:\\windows", "c:\\migrate"}) {
    EXPECT_NE(std::find(excluded.begin(), excluded.end(), folder), excluded.end()) << folder;
  }
}

TEST(SampleProgram, PrinterFilesBesideTheProgram) {
  const std::string list = programFile("printlist.txt");
  EXPECT_TRUE(endsEveryLineWithCrLf(list));
  EXPECT_NE(list.find("HP LaserJet 4050 Series PCL 6\r\n"), std::string::npos);
  EXPECT_TRUE(fs::is_regular_file(fs::path(TRANSVALE_SAMPLES_DIR) / "program" / "printers.log"));
  EXPECT_EQ(programFile("printers.log"), "");  // the restore skips no printer
}

}  // namespace
