// The captures of the desktop, the shell and the mail client: Control Panel settings, the
// wallpaper and screen saver files, the files and folders on the desktop, the Favorites folder,
// and the personal address book with its profile. Steps with a result give the entry line of
// their block in the master command file; an empty result leaves the block out.
#pragma once

#include <string>

namespace migration {

class CaptureRun;

// Exports HKEY_CURRENT_USER\Control Panel; the export's path.
std::string CaptureDesktop(CaptureRun& run, const std::string& driversDir);
// The copied wallpaper, or "" (none set, "(None)", or a file that cannot be copied).
std::string CaptureWallpaper(CaptureRun& run, const std::string& driversDir);
// The copied screen saver, from the registry or else system.ini, or "".
std::string CaptureScreenSaver(CaptureRun& run, const std::string& driversDir);
// The screen saver that "system.ini" in the Windows directory names, or "".
std::string ScreenSaverFromIni(CaptureRun& run);
// The folder the desktop's files were copied into, or "" when the desktop held none.
std::string CaptureShortcuts(CaptureRun& run, const std::string& driversDir);
// Copies every folder on the desktops of Windows 95/98, NT and 2000 into "Folders".
void CaptureDesktopFolders(CaptureRun& run, const std::string& driversDir);
// Copies the Favorites folder into the drivers directory.
void CaptureFavorites(CaptureRun& run, const std::string& driversDir);
// The copied address book file, or "Network" when the machine has none; always exports the
// user's messaging profile.
std::string CaptureAddressBook(CaptureRun& run, const std::string& driversDir);

}  // namespace migration
