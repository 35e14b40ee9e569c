#include "entry_text.h"

#include <algorithm>

#include "platform/text_encoding.h"
#include "zip_records.h"

namespace parcelon {
namespace {

constexpr std::uint16_t kMadeByNtfs = 10 << 8;

bool isAscii(std::string_view text) {
  return std::all_of(text.begin(), text.end(),
                     [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

}  // namespace

StoredEntryText storeEntryText(std::string_view ansiName, std::string_view ansiComment) {
  if (isAscii(ansiName) && isAscii(ansiComment)) {
    return {std::string(ansiName), std::string(ansiComment), 0, 0};
  }
  // The flag covers name and comment together, so both go to UTF-8.
  return {platform::ansiToUtf8(ansiName), platform::ansiToUtf8(ansiComment), kFlagUtf8Text,
          kMadeByNtfs};
}

HostText hostEntryText(std::string_view stored, std::uint16_t flags) {
  if ((flags & kFlagUtf8Text) == 0) return {std::string(stored), true};
  HostText text{platform::utf8ToAnsi(stored), true};
  // Every ANSI character has a UTF-8 form: the way back differs only where '?' stood in.
  text.exact = platform::ansiToUtf8(text.ansi) == stored;
  return text;
}

}  // namespace parcelon
