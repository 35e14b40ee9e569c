#include "forms/control.h"

#include <cctype>
#include <cstdio>
#include <string_view>

namespace forms {

namespace {

// True when `rest` starts like a control character's name, so that a literal '<' there must be
// written as <x3C> to read back unchanged.
bool looksLikeControlName(std::string_view rest) {
  for (const std::string_view name : {"CR>", "LF>", "TAB>", "NUL>"}) {
    if (rest.substr(0, name.size()) == name) return true;
  }
  return rest.size() >= 4 && rest[0] == 'x' && std::isxdigit(static_cast<unsigned char>(rest[1])) &&
         std::isxdigit(static_cast<unsigned char>(rest[2])) && rest[3] == '>';
}

}  // namespace

std::string quoted(const std::string& text) {
  std::string out = "\"";
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    switch (c) {
      case '"':
        out += "\"\"";
        break;
      case '\r':
        out += "<CR>";
        break;
      case '\n':
        out += "<LF>";
        break;
      case '\t':
        out += "<TAB>";
        break;
      case '\0':
        out += "<NUL>";
        break;
      case '<':
        out += looksLikeControlName(std::string_view(text).substr(i + 1)) ? "<x3C>" : "<";
        break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          char escaped[8];
          std::snprintf(escaped, sizeof escaped, "<x%02X>", static_cast<unsigned char>(c));
          out += escaped;
        } else {
          out += c;
        }
    }
  }
  return out + "\"";
}

}  // namespace forms
