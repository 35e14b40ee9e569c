#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "context/master_file_format.h"
#include "context/master_reader.h"
#include "context/master_writer.h"
#include "platform/text_file.h"
#include "testing/test_program.h"

namespace migration {
namespace {

constexpr const char* kMaster = "C:\\Migration\\Master.mig";

struct FieldsCase {
  const char* label;
  std::string line;
  std::vector<std::string> fields;
};
void PrintTo(const FieldsCase& c, std::ostream* out) { *out << c.label; }

class SplitQuotedFieldsTest : public ::testing::TestWithParam<FieldsCase> {};

TEST_P(SplitQuotedFieldsTest, ReadsFieldsAsTheQuotedFieldReaderDoes) {
  EXPECT_EQ(SplitQuotedFields(GetParam().line), GetParam().fields);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, SplitQuotedFieldsTest,
    ::testing::Values(FieldsCase{"Record",
                                 "\"HP LaserJet\",\"winspool,Ne00:\"",
                                 {"HP LaserJet", "winspool,Ne00:"}},
                      FieldsCase{"QuoteInside", "\"say \"\"hi\"\"\",\"x\"", {"say \"hi\"", "x"}},
                      FieldsCase{"BlanksKeptInQuotes", "  \" a \" , \"b\"", {" a ", "b"}},
                      FieldsCase{"BlanksDroppedOutside", "  a b  ,\tc ", {"a b", "c"}},
                      FieldsCase{"TextAfterQuotesPassedOver", "\"a\" junk,b", {"a", "b"}},
                      FieldsCase{"EmptyLine", "", {""}},
                      FieldsCase{"EmptyQuoted", "\"\",\"\"", {"", ""}},
                      FieldsCase{"CommaAtTheEnd", "a,", {"a", ""}},
                      FieldsCase{"Unterminated", "\"open, still", {"open, still"}},
                      FieldsCase{"DriveEntry", "g: [\\\\srv\\data]", {"g: [\\\\srv\\data]"}}),
    [](const ::testing::TestParamInfo<FieldsCase>& info) { return info.param.label; });

class MasterFileTest : public ::testing::Test {
 protected:
  MasterFileTest() { platform::ignoreFailure(m_test.files().createFolder("C:\\Migration"), "the migration directory of a fresh machine"); }

  MasterWriter create() {
    auto writer = MasterWriter::create(m_test.files(), kMaster);
    EXPECT_TRUE(writer.ok());
    return std::move(writer).value();
  }
  MasterReader open() {
    auto reader = MasterReader::open(m_test.files(), kMaster);
    EXPECT_TRUE(reader.ok());
    return std::move(reader).value();
  }
  std::string fileText() { return platform::readWholeFile(m_test.files(), kMaster).valueOr(""); }

  testing::TestProgram m_test;
};

// Every block the capture writes, read back the way the restore walks the file: headers by
// line, drive entries by line, printer records by two fields, each list up to its empty line.
TEST_F(MasterFileTest, EveryBlockReadsBackAsWritten) {
  const std::vector<std::pair<std::string, std::vector<std::string>>> blocks = {
      {"[Username]", {"user01"}},
      {"[Files Backup]", {"D:\\Data"}},
      {"[Desktop]", {"D:\\Migration\\Drivers\\Desktop_HKCU.mig"}},
      {"[Wallpaper]", {"D:\\Migration\\Drivers\\wallpaper.bmp"}},
      {"[Screen Saver]", {"D:\\Migration\\Drivers\\saver.scr"}},
      {"[Shortcuts]", {"D:\\Migration\\Drivers\\Shortcuts"}},
      {"[Office Settings]",
       {"D:\\Migration\\Drivers\\Office_HKCU.mig", "D:\\Migration\\Drivers\\Office_HKLM.mig"}},
      {"[Address Book]", {"Reg Only", "D:\\Migration\\Drivers\\PAB_HKCU.mig"}},
      {"[IE Settings]", {"D:\\Migration\\Drivers\\IE_HKCU.mig"}},
      {"[Netscape]", {"D:\\Migration\\Drivers\\bookmark.htm"}},
      {"[Drives]", {"g: [\\\\srv\\data]", "h: [\\\\srv\\a,b]"}},
      {"[Adobe Settings]",
       {"D:\\Migration\\Drivers\\Adobe_HKCU.mig", "D:\\Migration\\Drivers\\Adobe_HKLM.mig"}},
      {"[Visual Studio Settings]",
       {"D:\\Migration\\Drivers\\Studio_HKCU.mig", "D:\\Migration\\Drivers\\Studio_HKLM.mig",
        "D:\\Migration\\Drivers\\VB_HKCU.mig", "D:\\Migration\\Drivers\\VB_HKLM.mig"}},
  };
  const std::vector<std::pair<std::string, std::string>> printers = {
      {"\\\\print01\\Floor 2, east", "winspool,Ne01:"},
      {"Label \"big\"", ""},
      {" blank edged ", "x"}};
  {
    MasterWriter writer = create();
    for (const auto& [header, entries] : blocks) {
      EXPECT_EQ(writer.WriteMasterLine(header), platform::ERROR_SUCCESS);
      for (const std::string& entry : entries) {
        EXPECT_EQ(writer.WriteMasterLine(entry), platform::ERROR_SUCCESS);
      }
      EXPECT_EQ(writer.WriteMasterLine(""), platform::ERROR_SUCCESS);
    }
    EXPECT_EQ(writer.WriteMasterLine(kPrintersHeader), platform::ERROR_SUCCESS);
    for (const auto& [name, value] : printers) {
      EXPECT_EQ(writer.writeRecord(name, value), platform::ERROR_SUCCESS);
    }
    EXPECT_EQ(writer.WriteMasterLine(""), platform::ERROR_SUCCESS);
    EXPECT_EQ(writer.close(), platform::ERROR_SUCCESS);
  }
  const std::string text = fileText();
  EXPECT_EQ(text.substr(0, 22), "[Username]\r\nuser01\r\n\r\n");
  EXPECT_NE(text.find("[Printers]\r\n\"\\\\print01\\Floor 2, east\",\"winspool,Ne01:\"\r\n"
                      "\"Label \"\"big\"\"\",\"\"\r\n\" blank edged \",\"x\"\r\n\r\n"),
            std::string::npos);

  MasterReader reader = open();
  std::vector<std::pair<std::string, std::vector<std::string>>> readBlocks;
  std::vector<std::pair<std::string, std::string>> readPrinters;
  std::string line;
  while (reader.readLine(line)) {
    if (line.empty()) continue;
    if (line == kPrintersHeader) {
      std::string name;
      std::string value;
      while (reader.readRecord(name, value) && !name.empty())
        readPrinters.emplace_back(name, value);
      continue;
    }
    std::vector<std::string> entries;
    std::string entry;
    while (reader.readLine(entry) && !entry.empty()) entries.push_back(entry);
    readBlocks.emplace_back(line, entries);
  }
  EXPECT_EQ(readBlocks, blocks);
  EXPECT_EQ(readPrinters, printers);
  EXPECT_TRUE(reader.atEnd());
  EXPECT_EQ(reader.close(), platform::ERROR_SUCCESS);
}

TEST_F(MasterFileTest, AnEmptyRecordEndsAListWithoutReadingOn) {
  m_test.writeFile(kMaster, "[Printers]\r\n\"a\",\"1\"\r\n\r\n[Netscape]\r\nx.htm\r\n");
  MasterReader reader = open();
  std::string line;
  std::string name;
  std::string value;
  ASSERT_TRUE(reader.readLine(line));
  EXPECT_TRUE(reader.readRecord(name, value));
  EXPECT_EQ(std::make_pair(name, value), std::make_pair(std::string("a"), std::string("1")));
  EXPECT_TRUE(reader.readRecord(name, value));
  EXPECT_EQ(std::make_pair(name, value), std::make_pair(std::string(), std::string()));
  // The next header is still there for the section pass.
  ASSERT_TRUE(reader.readLine(line));
  EXPECT_EQ(line, "[Netscape]");
}

TEST_F(MasterFileTest, ALastLineWithoutItsEndIsReadAndThenTheEndIsSeen) {
  m_test.writeFile(kMaster, "[Drives]\r\ng: [\\\\srv\\data]");
  MasterReader reader = open();
  std::string line;
  ASSERT_TRUE(reader.readLine(line));
  EXPECT_FALSE(reader.atEnd());
  std::string field = "left over";
  EXPECT_TRUE(reader.readField(field));
  EXPECT_EQ(field, "g: [\\\\srv\\data]");
  EXPECT_TRUE(reader.atEnd());
  EXPECT_FALSE(reader.readLine(line));
  EXPECT_EQ(line, "");
  EXPECT_FALSE(reader.readField(field));
  EXPECT_EQ(field, "");
}

TEST_F(MasterFileTest, AFileThatCannotBeOpenedIsReported) {
  auto reader = MasterReader::open(m_test.files(), "C:\\Migration\\missing.mig");
  EXPECT_EQ(reader.status(), platform::ERROR_FILE_NOT_FOUND);
  auto writer = MasterWriter::create(m_test.files(), "C:\\NoSuchDir\\Master.mig");
  EXPECT_EQ(writer.status(), platform::ERROR_PATH_NOT_FOUND);
}

TEST_F(MasterFileTest, ANewCaptureReplacesTheOldFile) {
  m_test.writeFile(kMaster, "[Username]\r\nold user\r\n\r\n[Desktop]\r\nC:\\old.mig\r\n\r\n");
  MasterWriter writer = create();
  EXPECT_EQ(writer.WriteMasterLine("[Username]"), platform::ERROR_SUCCESS);
  EXPECT_EQ(writer.close(), platform::ERROR_SUCCESS);
  EXPECT_EQ(fileText(), "[Username]\r\n");
}

}  // namespace
}  // namespace migration
