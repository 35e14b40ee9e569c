#include "platform/text_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/testing/temporary_machine_root.h"
#include "native_file_system.h"

namespace platform {
namespace {

std::vector<std::string> readLines(const std::string& bytes) {
  testing::TemporaryMachineRoot root;
  root.addDrive('C');
  root.writeFile("drive_c/t.txt", bytes);
  NativeFileSystem files(root.path());
  auto reader = TextReader::open(files, "C:\\t.txt");
  EXPECT_TRUE(reader.ok());
  std::vector<std::string> lines;
  std::string line;
  while (reader->readLine(line)) lines.push_back(line);
  EXPECT_TRUE(reader->atEnd());
  return lines;
}

struct LineCase {
  std::string bytes;
  std::vector<std::string> lines;
};

void PrintTo(const LineCase& line, std::ostream* out) {
  *out << ::testing::PrintToString(line.bytes);
}

class TextReaderLines : public ::testing::TestWithParam<LineCase> {};

TEST_P(TextReaderLines, SplitsAtEveryKindOfLineEnd) {
  EXPECT_EQ(readLines(GetParam().bytes), GetParam().lines);
}

const std::string kLong(16 * 1024 - 1, 'x');  // its CR ends the first 16 KiB chunk

INSTANTIATE_TEST_SUITE_P(
    Ends, TextReaderLines,
    ::testing::Values(LineCase{"", {}}, LineCase{"a\r\nb\nc\rd", {"a", "b", "c", "d"}},
                      LineCase{"a\r\n", {"a"}}, LineCase{"\r\n\r\n", {"", ""}},
                      LineCase{"a\n\rb", {"a", "", "b"}},
                      LineCase{kLong + "\r\nnext", {kLong, "next"}},
                      LineCase{std::string(40000, 'y') + "\n", {std::string(40000, 'y')}}));

TEST(TextWriter, WritesCrLfAndAppends) {
  testing::TemporaryMachineRoot root;
  root.addDrive('C');
  NativeFileSystem files(root.path());
  {
    auto writer = TextWriter::open(files, "C:\\out.txt", OpenMode::CreateTruncate);
    ASSERT_TRUE(writer.ok());
    EXPECT_EQ(writer->writeLine("first"), ERROR_SUCCESS);
    EXPECT_EQ(writer->close(), ERROR_SUCCESS);
  }
  auto writer = TextWriter::open(files, "C:\\out.txt", OpenMode::Append);
  ASSERT_TRUE(writer.ok());
  EXPECT_EQ(writer->write("sec"), ERROR_SUCCESS);
  EXPECT_EQ(writer->writeLine("ond"), ERROR_SUCCESS);
  EXPECT_EQ(writer->close(), ERROR_SUCCESS);
  EXPECT_EQ(writer->write("late"), ERROR_INVALID_HANDLE);
  EXPECT_EQ(root.readFile("drive_c/out.txt"), "first\r\nsecond\r\n");
}

TEST(TextFiles, ReportMissingFiles) {
  testing::TemporaryMachineRoot root;
  root.addDrive('C');
  NativeFileSystem files(root.path());
  EXPECT_EQ(TextReader::open(files, "C:\\none.txt").status(), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(TextWriter::open(files, "C:\\no\\x.txt", OpenMode::Append).status(),
            ERROR_PATH_NOT_FOUND);
  EXPECT_EQ(readWholeFile(files, "C:\\none.txt").status(), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(writeWholeFile(files, "C:\\x.txt", std::string("a\0b", 3)), ERROR_SUCCESS);
  EXPECT_EQ(readWholeFile(files, "C:\\x.txt").valueOr(""), std::string("a\0b", 3));
}

}  // namespace
}  // namespace platform
