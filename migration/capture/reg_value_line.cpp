#include "capture/reg_value_line.h"

namespace migration {
namespace {

constexpr char kLowerDigits[] = "0123456789abcdef";
constexpr char kUpperDigits[] = "0123456789ABCDEF";
// The registry editor breaks hex data after the comma that passes this column.
constexpr std::size_t kHexWrapColumn = 76;

void appendEscaped(std::string& out, std::string_view text) {
  std::size_t plain = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\' && text[i] != '"') continue;
    out.append(text, plain, i - plain);
    out += '\\';
    plain = i;  // the character itself goes out with the next run
  }
  out.append(text, plain, std::string_view::npos);
}

bool holdsLineBreak(std::string_view text) {
  return text.find_first_of("\r\n") != std::string_view::npos;
}

// REG_SZ data that a quoted text gives back exactly: one final NUL and no other, no line break.
bool hasQuotedForm(std::string_view data) {
  if (data.empty() || data.back() != '\0') return false;
  const std::string_view text = data.substr(0, data.size() - 1);
  return text.find('\0') == std::string_view::npos && !holdsLineBreak(text);
}

void appendHexByte(std::string& out, unsigned char byte) {
  out += kLowerDigits[byte >> 4];
  out += kLowerDigits[byte & 0xF];
}

void appendBinary(std::string& out, std::string_view data) {
  out += "hex:";
  for (std::size_t i = 0; i < data.size(); ++i) {
    if (i > 0) out += ',';
    appendHexByte(out, static_cast<unsigned char>(data[i]));
  }
}

void appendTyped(std::string& out, std::size_t lineStart, platform::DWORD type,
                 std::string_view data) {
  out += "hex(";
  char digits[8];
  std::size_t count = 0;
  do {
    digits[count++] = kLowerDigits[type & 0xF];
    type >>= 4;
  } while (type != 0);
  while (count > 0) out += digits[--count];
  out += "):";
  for (std::size_t i = 0; i < data.size(); ++i) {
    appendHexByte(out, static_cast<unsigned char>(data[i]));
    if (i + 1 == data.size()) break;
    out += ',';
    if (out.size() - lineStart > kHexWrapColumn) {
      out += "\\\r\n  ";
      lineStart = out.size() - 2;
    }
  }
}

void appendDword(std::string& out, std::string_view data) {
  out += "dword:";
  for (std::size_t i = 4; i-- > 0;) {
    const auto byte = static_cast<unsigned char>(data[i]);
    out += kUpperDigits[byte >> 4];
    out += kUpperDigits[byte & 0xF];
  }
}

}  // namespace

std::string EscapeBackslashes(std::string_view text) {
  std::string out;
  out.reserve(text.size() + 8);
  appendEscaped(out, text);
  return out;
}

bool AppendValueLine(std::string& out, std::string_view name, platform::DWORD type,
                     std::string_view data) {
  if (holdsLineBreak(name)) return false;
  const std::size_t lineStart = out.size();
  if (name.empty() && !data.empty()) {
    out += '@';
  } else {
    out += '"';
    appendEscaped(out, name);
    out += '"';
  }
  out += '=';
  if (type == platform::REG_SZ && hasQuotedForm(data)) {
    out += '"';
    appendEscaped(out, data.substr(0, data.size() - 1));
    out += '"';
  } else if (type == platform::REG_DWORD && data.size() == 4) {
    appendDword(out, data);
  } else if (type == platform::REG_BINARY) {
    appendBinary(out, data);
  } else {
    appendTyped(out, lineStart, type, data);
  }
  out += "\r\n";
  return true;
}

}  // namespace migration
