// The restore routines that put captured files back in the fixed places of the new machine: the
// address book, the screen saver, the wallpaper, bookmarks, desktop shortcuts and folders,
// favorites, the Lotus Notes and Office files, the custom-script exports, and the user's old
// "c:\my documents" folder. Each says what it did, or why it did nothing, for the restore report.
//
// Places: the profile directory is always "c:\documents and settings\" and the user's name; the
// Windows directory is the "windir" variable. The migration directory comes from the master file
// path by cutting its last 10 characters ("master.mig", leaving the trailing backslash) or 11
// (without it).
#pragma once

#include <string>

#include "restore/restore_report.h"

namespace migration {

class Program;

// NT family only: the file into the Windows directory, as "mailbox.pab" when the path ends in
// "mailbox.pab" (with case), else under its own name. "Reg Only" (no file captured) copies
// nothing.
RoutineOutcome RestoreAddressBook(Program& program, const std::string& path);

// NT family only: the file into C:\winnt\system32\ and C:\windows\system32\, writing
// HKCU\Control Panel\Desktop "SCRNSAVE.EXE" after each copy (so the second one stands).
RoutineOutcome RestoreScreenSaver(Program& program, const std::string& path);

// The file into the Windows directory, made the wallpaper with SPI_SETDESKWALLPAPER, flags 3.
RoutineOutcome RestoreWallpaper(Program& program, const std::string& path);

// The bookmark file imported into the favorites by the shell's helper object.
RoutineOutcome ImportBookmarks(Program& program, const std::string& path);

// Every file of the captured shortcuts folder onto %USERPROFILE%\desktop; stops at the first
// failure.
RoutineOutcome RestoreShortcuts(Program& program, const std::string& directory);

// The captured favorites tree (Drivers\Favorites of the migration directory named by txtMigFile)
// into the Favorites shell folder, creating the sub-folders the target lacks.
RoutineOutcome RestoreFavorites(Program& program);

// Outlook templates, normal.dot, approach.ini, notes.ini and the Notes data files of the
// migration directory's "files" folder, and the w2kconversion folder, to their fixed places.
RoutineOutcome RestoreLotusNotes(Program& program, const std::string& masterFilePath);

// The folders that lay on the old desktop ("Folders" of the migration directory named by
// txtMigFile) onto the profile's desktop.
RoutineOutcome RestoreDesktopFolders(Program& program);

// Removes the profile's desktop\windows folder that a restore of Windows 95/98 desktop entries
// leaves, but only when no file is left in it: the restored files there would be lost.
RoutineOutcome RemoveDesktopWindowsFolder(Program& program);

// Moves c:\my documents into the profile's "My Documents": its folders and files are copied, and
// the old folder is deleted only when every file arrived there with its size.
RoutineOutcome MoveMyDocuments(Program& program);

// The migration directory of a master file path: the path without its last 10 characters (with
// its trailing backslash) or 11 (without); empty when the path is shorter.
std::string MigrationDirWithBackslash(const std::string& masterFilePath);
std::string MigrationDirWithoutBackslash(const std::string& masterFilePath);

// "c:\documents and settings\" and the session's user name.
std::string ProfileDirectory(const Program& program);

}  // namespace migration
