#include "context/mdl_config.h"

#include <utility>

#include "context/program.h"
#include "context/regional_format.h"
#include "platform/text_file.h"

namespace migration {

namespace {

// The eight section headers and the value each one fills.
std::vector<std::pair<const char*, std::string*>> sections(Configuration& config) {
  return {
      {"[Default Copy Destination]", &config.strDefaultCopyDest},
      {"[Default Migration Destination]", &config.strDefaultMigrationDest},
      {"[Default Custom Types]", &config.varDefaultCustomTypes},
      {"[Default Migration Type]", &config.strDefaultMigrationType},
      {"[Default Scan Drive]", &config.strDefaultScanDrive},
      {"[Default File Types]", &config.strDefaultFileTypes},
      {"[Default Migration Settings]", &config.strDefaultMigrationSettings},
      {"[Default Exclude List]", &config.strDefaultExcludeList},
  };
}

std::string* sectionValue(Configuration& config, const std::string& line) {
  for (const auto& [header, value] : sections(config)) {
    if (line == header) return value;
  }
  return nullptr;
}

}  // namespace

bool LoadConfig(Program& program) {
  Configuration& config = program.config;
  config.strConfigFile = program.session.strAppPath + "\\Config.mig";
  auto reader = platform::TextReader::open(program.files(), config.strConfigFile);
  if (!reader) return false;

  std::string line;
  while (reader->readLine(line)) {
    std::string* value = sectionValue(config, line);
    if (value == nullptr) continue;
    std::string next;
    if (!reader->readLine(next)) {
      platform::ignoreFailure(reader->close(), "closing the configuration file after its last line");
      return false;  // a header on the last line has no value
    }
    *value = std::move(next);
  }
  const bool readToEnd = reader->atEnd();
  platform::ignoreFailure(reader->close(), "closing the configuration file");
  return readToEnd;
}

void LoadExcludeList(Configuration& config) {
  config.arrExcludeList = splitCommaList(config.strDefaultExcludeList);
}

std::string FileModifiedText(Program& program, const std::string& path) {
  const auto info = program.files().fileInfo(path);
  const RegionalFormat& format = program.regionalFormat();
  if (!info) return format.generalDate(LocalDateTime{});
  return format.generalDate(format.localTime(info->lastWrite));
}

std::string FileSizeKBText(Program& program, const std::string& path) {
  const auto info = program.files().fileInfo(path);
  if (!info) return "0";
  return program.regionalFormat().kilobytes(info->size);
}

std::vector<std::string> splitCommaList(const std::string& text) {
  std::vector<std::string> entries;
  if (text.empty()) return entries;
  std::size_t start = 0;
  while (true) {
    const std::size_t comma = text.find(',', start);
    entries.push_back(text.substr(start, comma - start));
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  return entries;
}

std::string joinCommaList(const std::vector<std::string>& entries) {
  std::string text;
  for (std::size_t i = 0; i < entries.size(); ++i) text += (i ? "," : "") + entries[i];
  return text;
}

}  // namespace migration
