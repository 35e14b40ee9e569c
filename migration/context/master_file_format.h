// The master command file "Master.mig": the table of contents of one captured user state, read
// back by the restore. Blocks of a header line, entry lines and one empty line, CR LF line ends,
// ANSI text. Entry lines are written whole; printer records are one line of two fields in double
// quotes separated by a comma. This unit holds the names and the record form that the writer and
// the reader share.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace migration {

// Exactly ten characters: the restore finds the migration directory by cutting them off.
inline constexpr std::string_view kMasterFileName = "Master.mig";

inline constexpr std::string_view kUsernameHeader = "[Username]";
inline constexpr std::string_view kFilesBackupHeader = "[Files Backup]";
inline constexpr std::string_view kDesktopHeader = "[Desktop]";
inline constexpr std::string_view kWallpaperHeader = "[Wallpaper]";
inline constexpr std::string_view kScreenSaverHeader = "[Screen Saver]";
inline constexpr std::string_view kShortcutsHeader = "[Shortcuts]";
inline constexpr std::string_view kOfficeSettingsHeader = "[Office Settings]";
inline constexpr std::string_view kAddressBookHeader = "[Address Book]";
inline constexpr std::string_view kIeSettingsHeader = "[IE Settings]";
inline constexpr std::string_view kNetscapeHeader = "[Netscape]";
inline constexpr std::string_view kDrivesHeader = "[Drives]";
inline constexpr std::string_view kAdobeSettingsHeader = "[Adobe Settings]";
inline constexpr std::string_view kVisualStudioSettingsHeader = "[Visual Studio Settings]";
inline constexpr std::string_view kPrintersHeader = "[Printers]";

// The first entry of "[Address Book]" when no address book file was found.
inline constexpr std::string_view kAddressBookRegOnly = "Reg Only";

// "name","value": each field in double quotes, a double quote inside doubled.
std::string MasterRecordLine(std::string_view name, std::string_view value);

// The comma-separated fields of one line: blanks around a field are dropped; a field that starts
// with a double quote runs to the next lone double quote ("" inside stands for one) and keeps
// its blanks, and anything after it up to the comma is passed over. An empty line is one empty
// field; a comma at the end adds an empty field.
std::vector<std::string> SplitQuotedFields(std::string_view line);

}  // namespace migration
