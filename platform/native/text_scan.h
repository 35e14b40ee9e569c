// Small scanning helpers shared by the readers of Wine's registry files and of .reg files.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace platform {

// The blanks a .reg file allows around its tokens.
inline constexpr std::string_view kSpaceAndTab = " \t";

bool isHexDigit(char c);
// The value of a hex digit; `c` must be one.
unsigned hexValue(char c);
// `text` without the leading characters that appear in `blanks`.
std::string_view skipBlanks(std::string_view text, std::string_view blanks = kSpaceAndTab);

// The tag "hex(N):" that both file formats put before the bytes of a value of type N.
struct HexTypeTag {
  std::uint32_t type = 0;
  std::size_t length = 0;  // of the whole tag, "hex(" to ":"
};
// Nothing when `text` does not start with a tag of one or more hex digits within 32 bits.
std::optional<HexTypeTag> readHexTypeTag(std::string_view text);

}  // namespace platform
