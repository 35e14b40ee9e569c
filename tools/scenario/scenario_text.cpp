#include "scenario_text.h"
#include "platform/blanks.h"

namespace scenario {

namespace {

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The character a <NAME> stands for, with the length of the name; 0 when it is none.
std::size_t controlName(std::string_view rest, char& c) {
  static const std::pair<std::string_view, char> kNames[] = {
      {"<CR>", '\r'}, {"<LF>", '\n'}, {"<TAB>", '\t'}, {"<NUL>", '\0'}};
  for (const auto& [name, value] : kNames) {
    if (rest.substr(0, name.size()) == name) {
      c = value;
      return name.size();
    }
  }
  if (rest.size() >= 5 && rest[1] == 'x' && hexDigit(rest[2]) >= 0 && hexDigit(rest[3]) >= 0 &&
      rest[4] == '>') {
    c = static_cast<char>(hexDigit(rest[2]) * 16 + hexDigit(rest[3]));
    return 5;
  }
  return 0;
}

// Reads a quoted text starting at line[pos] == '"'; pos ends after the closing quote.
bool readQuoted(std::string_view line, std::size_t& pos, std::string& out, std::string& error) {
  ++pos;
  while (pos < line.size()) {
    const char c = line[pos];
    if (c == '"') {
      if (pos + 1 < line.size() && line[pos + 1] == '"') {
        out += '"';
        pos += 2;
        continue;
      }
      ++pos;
      return true;
    }
    char named = 0;
    const std::size_t length = c == '<' ? controlName(line.substr(pos), named) : 0;
    if (length > 0) {
      out += named;
      pos += length;
    } else {
      out += c;
      ++pos;
    }
  }
  error = "a quoted text is not closed";
  return false;
}

}  // namespace

std::optional<std::vector<Word>> splitWords(std::string_view line, std::string& error) {
  std::vector<Word> words;
  std::size_t pos = 0;
  while (pos < line.size()) {
    if (line[pos] == ' ' || line[pos] == '\t') {
      ++pos;
      continue;
    }
    Word word;
    if (line[pos] == '"') {
      word.quoted = true;
      if (!readQuoted(line, pos, word.text, error)) return std::nullopt;
    } else {
      while (pos < line.size() && line[pos] != ' ' && line[pos] != '\t') word.text += line[pos++];
    }
    words.push_back(std::move(word));
  }
  return words;
}

std::string trimmedLine(std::string_view text) {
  return std::string(platform::trimmed(text, " \t\r"));
}

bool splitAtEquals(std::string_view line, std::string& left, std::string& right) {
  bool inQuote = false;
  for (std::size_t i = 0; i < line.size(); ++i) {
    if (line[i] == '"') inQuote = !inQuote;
    if (!inQuote && line.substr(i, 3) == " = ") {
      left = trimmedLine(line.substr(0, i));
      right = trimmedLine(line.substr(i + 3));
      return true;
    }
  }
  return false;
}

}  // namespace scenario
