// How an entry's name and comment are stored. The host hands the component ANSI text
// (Windows-1252); other readers take unmarked names as their own code page, so text that is not
// plain ASCII is stored in UTF-8 with the language encoding flag set, which they honour. Plain
// ASCII is stored as it is, unflagged, as it always was.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace parcelon {

struct StoredEntryText {
  std::string name;
  std::string comment;
  std::uint16_t flags = 0;  // the general-purpose flags the text needs
  // NOTE: unzip converts the names of entries "made by" MS-DOS from the OEM code page even when
  // they are flagged UTF-8; entries with UTF-8 text name Windows NTFS instead, whose attributes
  // are the same MS-DOS attributes.
  std::uint16_t versionMadeBy = 0;
};

StoredEntryText storeEntryText(std::string_view ansiName, std::string_view ansiComment);

struct HostText {
  std::string ansi;
  // False when a character had no ANSI form (or the UTF-8 was broken) and '?' stands in for it.
  bool exact = true;
};

// Text stored under `flags`: UTF-8 when the language encoding flag is set, otherwise taken as
// ANSI bytes unchanged.
HostText hostEntryText(std::string_view stored, std::uint16_t flags);

}  // namespace parcelon
