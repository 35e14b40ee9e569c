#include "desktop_captures.h"

#include <vector>

#include "capture/capture_run.h"
#include "context/mdl_main.h"
#include "platform/text_encoding.h"
#include "platform/text_file.h"

namespace migration {

namespace {

constexpr const char* kDesktopKey = "Control Panel\\Desktop";
constexpr const char* kShellFoldersKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
constexpr const char* kProfilesKey =
    "Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows Messaging Subsystem\\Profiles\\";

// The text after the last backslash.
std::string fileNameOf(const std::string& path) {
  const std::size_t slash = path.rfind('\\');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Copies `source` into the drivers directory under its own name; the copy's path, or "".
std::string copyIntoDrivers(CaptureRun& run, const std::string& source,
                            const std::string& driversDir, const std::string& what) {
  if (!run.copyFile(source, driversDir + "\\", what)) return {};
  return driversDir + "\\" + fileNameOf(source);
}

// The files of a folder as a file list box shows them: files only, neither hidden nor system.
platform::Result<std::vector<std::string>> listedFiles(platform::FileSystem& files,
                                                       const std::string& folder) {
  auto entries = files.listFolder(folder, "*.*");
  if (!entries) return entries.failureAs<std::vector<std::string>>();
  constexpr std::uint32_t kNotListed = platform::FILE_ATTRIBUTE_DIRECTORY |
                                       platform::FILE_ATTRIBUTE_HIDDEN |
                                       platform::FILE_ATTRIBUTE_SYSTEM;
  std::vector<std::string> names;
  for (const platform::DirectoryEntry& entry : *entries) {
    if ((entry.attributes & kNotListed) == 0) names.push_back(entry.name);
  }
  return names;
}

std::string withBackslash(const std::string& folder) {
  return !folder.empty() && folder.back() == '\\' ? folder : folder + "\\";
}

}  // namespace

std::string CaptureDesktop(CaptureRun& run, const std::string& driversDir) {
  const std::string file = driversDir + "\\Desktop_HKCU.mig";
  run.exportKey(platform::HKEY_CURRENT_USER, "Control Panel", file);
  return file;
}

std::string CaptureWallpaper(CaptureRun& run, const std::string& driversDir) {
  const std::optional<std::string> wallpaper =
      run.textValue(platform::HKEY_CURRENT_USER, kDesktopKey, "Wallpaper");
  if (!wallpaper || wallpaper->find("None") != std::string::npos || wallpaper->empty()) {
    run.log().note("no wallpaper set");
    return {};
  }
  return copyIntoDrivers(run, *wallpaper, driversDir, "wallpaper");
}

std::string CaptureScreenSaver(CaptureRun& run, const std::string& driversDir) {
  const std::optional<std::string> saver =
      run.textValue(platform::HKEY_CURRENT_USER, kDesktopKey, "SCRNSAVE.EXE");
  if (!saver) {
    run.log().note("no screen saver set");
    return {};
  }
  if (!saver->empty() && platform::ansiToUpper(saver->substr(0, 6)) != "(NONE)") {
    return copyIntoDrivers(run, *saver, driversDir, "screen saver");
  }
  const std::string fromIni = ScreenSaverFromIni(run);
  if (fromIni.empty()) {
    run.log().note("no screen saver set, in the registry or in system.ini");
    return {};
  }
  return copyIntoDrivers(run, fromIni, driversDir, "screen saver (system.ini)");
}

std::string ScreenSaverFromIni(CaptureRun& run) {
  auto reader =
      platform::TextReader::open(run.files(), GetEnvVar(run.program(), "windir") + "\\system.ini");
  if (!reader) return {};
  std::string line;
  std::string found;
  while (reader->readLine(line)) {
    if (platform::ansiToUpper(line.substr(0, 12)) == "SCRNSAVE.EXE") {
      found = line.size() > 13 ? line.substr(13) : std::string();
      break;
    }
  }
  platform::ignoreFailure(reader->close(), "system.ini, read only");
  return found;
}

std::string CaptureShortcuts(CaptureRun& run, const std::string& driversDir) {
  platform::FileSystem& files = run.files();
  const std::string target = driversDir + "\\Shortcuts";
  std::string folder = GetEnvVar(run.program(), "USERPROFILE") + "\\desktop";
  auto listed = listedFiles(files, folder);
  if (!listed || listed->size() < 2 || !folder.ends_with("desktop")) {
    // Windows 95 and 98 keep the desktop in the Windows folder.
    const std::string shared = "c:\\windows\\desktop\\";
    if (auto other = listedFiles(files, shared)) {
      folder = shared;
      listed = std::move(other);
    }
  }
  if (!listed || listed->empty()) {
    run.log().note("no files on the desktop");
    return {};
  }
  const platform::Status made = files.createFolder(target);
  if (made.failed() && made != platform::ERROR_ALREADY_EXISTS) {
    run.log().warning("the desktop's files were not copied: " + target + " could not be made (" +
                      RunLog::describe(made) + ")");
    return {};
  }
  for (const std::string& name : *listed) {
    run.copyFile(withBackslash(folder) + name, target + "\\" + name, "desktop file");
  }
  return target;
}

void CaptureDesktopFolders(CaptureRun& run, const std::string& driversDir) {
  const std::string user = run.program().session.strUserName;
  const std::string folders = driversDir.substr(0, driversDir.size() - 8) + "\\Folders";
  for (const std::string& desktop :
       {std::string("c:\\windows\\desktop"), "c:\\winnt\\profiles\\" + user + "\\desktop",
        "c:\\documents and settings\\" + user + "\\desktop"}) {
    auto entries = run.files().listFolder(desktop, "*.*");
    if (!entries) continue;  // no such desktop on this version of Windows
    for (const platform::DirectoryEntry& entry : *entries) {
      if ((entry.attributes & platform::FILE_ATTRIBUTE_DIRECTORY) == 0) continue;
      run.copyFolder(desktop + "\\" + entry.name, folders + "\\" + entry.name, "desktop folder");
    }
  }
}

void CaptureFavorites(CaptureRun& run, const std::string& driversDir) {
  const std::optional<std::string> favorites =
      run.textValue(platform::HKEY_CURRENT_USER, kShellFoldersKey, "Favorites");
  if (!favorites || favorites->empty()) {
    run.log().note("no Favorites folder named in Shell Folders");
    return;
  }
  run.copyFolder(*favorites, driversDir + "\\", "Favorites");
}

std::string CaptureAddressBook(CaptureRun& run, const std::string& driversDir) {
  const std::string windows = GetEnvVar(run.program(), "windir");
  const std::string user = run.program().session.strUserName;
  std::string result = "Network";
  for (const std::string& book : {windows + "\\mailbox.pab", windows + "\\" + user + ".pab"}) {
    if (!run.files().fileExists(book)) continue;
    const std::string copied = copyIntoDrivers(run, book, driversDir, "address book");
    if (!copied.empty()) result = copied;
    break;
  }
  if (result == "Network") run.log().note("no personal address book file: only its profile");
  run.exportKey(platform::HKEY_CURRENT_USER, kProfilesKey + user, driversDir + "\\PAB_HKCU.mig");
  return result;
}

}  // namespace migration
