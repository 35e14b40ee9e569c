#include "context/master_file_format.h"

#include <algorithm>

namespace migration {
namespace {

void appendQuoted(std::string& out, std::string_view field) {
  out += '"';
  for (char c : field) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
}

bool isBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

std::string MasterRecordLine(std::string_view name, std::string_view value) {
  std::string line;
  line.reserve(name.size() + value.size() + 5);
  appendQuoted(line, name);
  line += ',';
  appendQuoted(line, value);
  return line;
}

std::vector<std::string> SplitQuotedFields(std::string_view line) {
  std::vector<std::string> fields;
  std::size_t pos = 0;
  for (;;) {
    while (pos < line.size() && isBlank(line[pos])) ++pos;
    std::string field;
    if (pos < line.size() && line[pos] == '"') {
      for (++pos; pos < line.size(); ++pos) {
        if (line[pos] != '"') {
          field += line[pos];
        } else if (pos + 1 < line.size() && line[pos + 1] == '"') {
          field += '"';
          ++pos;
        } else {
          ++pos;
          break;
        }
      }
      while (pos < line.size() && line[pos] != ',') ++pos;
    } else {
      const std::size_t comma = std::min(line.find(',', pos), line.size());
      std::size_t end = comma;
      while (end > pos && isBlank(line[end - 1])) --end;
      field.assign(line.substr(pos, end - pos));
      pos = comma;
    }
    fields.push_back(std::move(field));
    if (pos >= line.size()) return fields;
    ++pos;  // the comma
  }
}

}  // namespace migration
