#include "registry_names.h"

#include <algorithm>

namespace platform {
namespace {

constexpr char16_t kMultiply = 0x00D7;
constexpr char16_t kDivide = 0x00F7;

// The pairs outside the two contiguous Latin-1 ranges.
struct CasePair {
  char16_t upper;
  char16_t lower;
};
constexpr CasePair kOtherPairs[] = {
    {0x0160, 0x0161},  // Š š
    {0x0152, 0x0153},  // Œ œ
    {0x017D, 0x017E},  // Ž ž
    {0x0178, 0x00FF},  // Ÿ ÿ
};

template <typename Fold>
int compareFolded(std::u16string_view a, std::u16string_view b, Fold fold) {
  const std::size_t common = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < common; ++i) {
    const int difference = static_cast<int>(fold(a[i])) - static_cast<int>(fold(b[i]));
    if (difference != 0) return difference;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

}  // namespace

char16_t registryUpper(char16_t c) {
  if (c >= u'a' && c <= u'z') return static_cast<char16_t>(c - 0x20);
  if (c >= 0x00E0 && c <= 0x00FE && c != kDivide) return static_cast<char16_t>(c - 0x20);
  for (const CasePair& pair : kOtherPairs) {
    if (c == pair.lower) return pair.upper;
  }
  return c;
}

char16_t registryLower(char16_t c) {
  if (c >= u'A' && c <= u'Z') return static_cast<char16_t>(c + 0x20);
  if (c >= 0x00C0 && c <= 0x00DE && c != kMultiply) return static_cast<char16_t>(c + 0x20);
  for (const CasePair& pair : kOtherPairs) {
    if (c == pair.upper) return pair.lower;
  }
  return c;
}

bool registryNamesEqual(std::u16string_view a, std::u16string_view b) {
  return a.size() == b.size() && compareRegistryNames(a, b) == 0;
}

int compareRegistryNames(std::u16string_view a, std::u16string_view b) {
  return compareFolded(a, b, registryUpper);
}

int compareRegistryNamesForFile(std::u16string_view a, std::u16string_view b) {
  return compareFolded(a, b, registryLower);
}

}  // namespace platform
