// The master command file reader on any bytes. The file is read twice: once the way the restore
// walks it (headers, the lines of each section, lists up to an empty line, printer records), and
// once line by line, where the lines must be the file's lines as CR LF, LF and CR end them, and
// atEnd must say beforehand whether a line is left. Every record's two fields, written as a
// record line again, read back as the same two fields.
#include <cstddef>
#include <cstdint>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "context/master_file_format.h"
#include "context/master_reader.h"
#include "fuzz_check.h"
#include "scratch_machine.h"

namespace {

constexpr const char* kFolder = "C:\\scratch\\Migration";
constexpr const char* kMaster = "C:\\scratch\\Migration\\Master.mig";

fuzz::ScratchMachine& machine() {
  static fuzz::ScratchMachine instance;
  return instance;
}

// The lines of a text as the reader must give them.
std::vector<std::string> linesOf(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      lines.emplace_back(text.substr(start));
      break;
    }
    lines.emplace_back(text.substr(start, end - start));
    start = end + (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1);
  }
  return lines;
}

void checkRecordRoundTrip(const std::string& line) {
  const std::vector<std::string> fields = migration::SplitQuotedFields(line);
  fuzz::check(!fields.empty(), "a line has at least one field");
  const std::string second = fields.size() > 1 ? fields[1] : std::string();
  const std::vector<std::string> again =
      migration::SplitQuotedFields(migration::MasterRecordLine(fields[0], second));
  fuzz::check(again.size() == 2 && again[0] == fields[0] && again[1] == second,
              "a record line of two fields reads back as them");
}

// The restore's pass: which sections read how many lines, and how lists end.
void walkAsRestore(migration::MasterReader& reader) {
  using namespace migration;
  const std::set<std::string_view> singles = {kScreenSaverHeader, kWallpaperHeader,
                                              kNetscapeHeader, kShortcutsHeader,
                                              kDesktopHeader};
  const std::set<std::string_view> pairs = {kOfficeSettingsHeader, kAdobeSettingsHeader,
                                            kIeSettingsHeader, kAddressBookHeader};
  std::string line;
  while (reader.readLine(line)) {
    if (singles.count(line)) {
      reader.readLine(line);
    } else if (pairs.count(line)) {
      reader.readLine(line);
      reader.readLine(line);
    } else if (line == kVisualStudioSettingsHeader) {
      for (int i = 0; i < 4; ++i) reader.readLine(line);
    } else if (line == kDrivesHeader) {
      std::string entry;
      reader.readLine(entry);
      while (!reader.atEnd() && !entry.empty()) reader.readLine(entry);
    } else if (line == kPrintersHeader) {
      std::string name, value;
      reader.readRecord(name, value);
      while (!reader.atEnd() && !name.empty()) reader.readRecord(name, value);
    }
  }
  std::string field;
  fuzz::check(!reader.readField(field) && field.empty(), "reading past the end gives nothing");
}

void walkByLines(migration::MasterReader& reader, const std::vector<std::string>& expected) {
  std::string line;
  for (const std::string& want : expected) {
    fuzz::check(!reader.atEnd(), "a line is left");
    fuzz::check(reader.readLine(line), "the line reads");
    fuzz::check(line == want, "the line is the file's line");
    checkRecordRoundTrip(line);
  }
  fuzz::check(reader.atEnd(), "no line is left");
  fuzz::check(!reader.readLine(line) && line.empty(), "reading past the end gives nothing");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::ScratchMachine& m = machine();
  m.resetScratch({kFolder});
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  m.writeHostFile(kMaster, bytes);

  auto restorePass = migration::MasterReader::open(m.files(), kMaster);
  fuzz::check(restorePass.ok(), "the master command file opens");
  walkAsRestore(*restorePass);
  fuzz::check(restorePass->close() == platform::ERROR_SUCCESS, "the file closes");

  auto linePass = migration::MasterReader::open(m.files(), kMaster);
  fuzz::check(linePass.ok(), "the master command file opens again");
  walkByLines(*linePass, linesOf(bytes));
  fuzz::check(linePass->close() == platform::ERROR_SUCCESS, "the file closes again");

  m.checkNothingWrittenOutside();
  return 0;
}
