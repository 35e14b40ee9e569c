#include "text_scan.h"

namespace platform {

bool isHexDigit(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

unsigned hexValue(char c) {
  if (c >= '0' && c <= '9') return static_cast<unsigned>(c - '0');
  if (c >= 'a' && c <= 'f') return static_cast<unsigned>(c - 'a' + 10);
  return static_cast<unsigned>(c - 'A' + 10);
}

std::string_view skipBlanks(std::string_view text, std::string_view blanks) {
  const std::size_t first = text.find_first_not_of(blanks);
  return first == std::string_view::npos ? std::string_view() : text.substr(first);
}

std::optional<HexTypeTag> readHexTypeTag(std::string_view text) {
  constexpr std::string_view kOpen = "hex(";
  if (!text.starts_with(kOpen)) return std::nullopt;
  std::size_t pos = kOpen.size();
  std::uint64_t type = 0;
  while (pos < text.size() && isHexDigit(text[pos]) && type <= 0xFFFFFFFFu) {
    type = type * 16 + hexValue(text[pos++]);
  }
  if (pos == kOpen.size() || type > 0xFFFFFFFFu || text.substr(pos, 2) != "):") {
    return std::nullopt;
  }
  return HexTypeTag{static_cast<std::uint32_t>(type), pos + 2};
}

}  // namespace platform
