// Registry key and value names compare without regard to case, over UTF-16 code units: ASCII
// letters and the letters of Windows-1252 (the Latin-1 accents, Š, Œ, Ž and Ÿ).
#pragma once

#include <string_view>

namespace platform {

char16_t registryUpper(char16_t c);
char16_t registryLower(char16_t c);

bool registryNamesEqual(std::u16string_view a, std::u16string_view b);

// Windows' order, the order of enumeration: by upper-cased code units, a prefix first.
int compareRegistryNames(std::u16string_view a, std::u16string_view b);

// Wine's order, the order of its registry files: by lower-cased code units, a prefix first.
// NOTE: the two differ for the characters between 'Z' and 'a' ("_x" sorts before "a" in a file
// but after "Z" in an enumeration).
int compareRegistryNamesForFile(std::u16string_view a, std::u16string_view b);

}  // namespace platform
