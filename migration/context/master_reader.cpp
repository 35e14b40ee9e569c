#include "context/master_reader.h"

#include <vector>

#include "context/master_file_format.h"

namespace migration {

platform::Result<MasterReader> MasterReader::open(platform::FileSystem& files,
                                                  const std::string& path) {
  auto reader = platform::TextReader::open(files, path);
  if (!reader) return platform::Result<MasterReader>::failure(reader.status(), path);
  return MasterReader(std::move(reader).value());
}

bool MasterReader::readLine(std::string& line) {
  if (m_reader.readLine(line)) return true;
  line.clear();
  return false;
}

bool MasterReader::readField(std::string& field) {
  std::string second;
  return readRecord(field, second);
}

bool MasterReader::readRecord(std::string& first, std::string& second) {
  std::string line;
  const bool read = readLine(line);
  std::vector<std::string> fields = SplitQuotedFields(line);
  first = fields.size() > 0 ? std::move(fields[0]) : std::string();
  second = fields.size() > 1 ? std::move(fields[1]) : std::string();
  return read;
}

}  // namespace migration
