#include "restore/file_placement.h"

#include <vector>

#include "context/main_window.h"
#include "context/mdl_main.h"
#include "context/mdl_registry.h"
#include "context/program.h"
#include "context/run_log.h"
#include "forms/dir_list_box.h"
#include "forms/file_list_box.h"
#include "restore/tree_comparison.h"
#include "scan/mdl_file_search.h"

namespace migration {

namespace {

constexpr std::size_t kMasterNameLength = 10;  // "master.mig"
constexpr const char* kNtFamily = "Windows_NT";
constexpr const char* kDesktopKey = "Control Panel\\Desktop";
constexpr const char* kShellFoldersKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
constexpr const char* kOldMyDocuments = "c:\\my documents";
constexpr platform::Overwrite kReplace = platform::Overwrite::Yes;

bool ntFamily(const Program& program) { return program.session.strOS == kNtFamily; }

std::string fileNameOf(const std::string& path) {
  const std::size_t backslash = path.rfind('\\');
  return backslash == std::string::npos ? path : path.substr(backslash + 1);
}

std::string folderOf(const std::string& path) {
  const std::size_t backslash = path.rfind('\\');
  return backslash == std::string::npos ? std::string() : path.substr(0, backslash + 1);
}

std::string windowsDirectory(Program& program) { return GetEnvVar(program, "windir"); }

std::string describe(platform::Status status) { return RunLog::describe(status); }

std::string filesText(std::size_t count) {
  return std::to_string(count) + (count == 1 ? " file" : " files");
}

// Whether a file or wildcard pattern names at least one file.
bool anyFile(platform::FileSystem& files, const std::string& pattern) {
  const auto entries = files.listFolder(folderOf(pattern), fileNameOf(pattern));
  if (!entries) return false;
  for (const auto& entry : entries.value()) {
    if ((entry.attributes & platform::FILE_ATTRIBUTE_DIRECTORY) == 0) return true;
  }
  return false;
}

// The copies of one routine: which had something captured to copy, which failed, and so the
// routine's outcome. A copy whose source is missing is what the capture left: not a failure.
class Copies {
 public:
  explicit Copies(platform::FileSystem& files) : m_files(files) {}

  void file(const std::string& source, const std::string& target) {
    if (!anyFile(m_files, source)) return;
    record(source, m_files.copyFile(source, target, kReplace));
  }
  void folder(const std::string& source, const std::string& target) {
    if (!m_files.folderExists(source)) return;
    record(source, m_files.copyFolder(source, target, kReplace));
  }
  // A copy that had its source but could not be made for another reason.
  void cannot(const std::string& source, const std::string& why) {
    ++m_captured;
    m_failures += (m_failures.empty() ? "" : "; ") + fileNameOf(source) + ": " + why;
  }

  RoutineOutcome outcome() const {
    if (m_captured == 0) return RoutineOutcome::passedOver("nothing was captured for it");
    if (!m_failures.empty()) return RoutineOutcome::failed(m_failures);
    return RoutineOutcome::done(m_done);
  }

 private:
  void record(const std::string& source, platform::Status status) {
    if (status.failed()) return cannot(source, describe(status));
    ++m_captured;
    m_done += (m_done.empty() ? "" : ", ") + fileNameOf(source);
  }

  platform::FileSystem& m_files;
  std::size_t m_captured = 0;
  std::string m_done;
  std::string m_failures;
};

std::string registryText(Program& program, platform::HKEY root, const std::string& key,
                         const std::string& name) {
  return withoutFinalNul(QueryKeyValue(program.registry(), root, key, name).toText());
}

std::string migFileText(Program& program) {
  return program.mainWindow().fieldText(MainWindow::Field::MigFile);
}

}  // namespace

std::string MigrationDirWithBackslash(const std::string& masterFilePath) {
  if (masterFilePath.size() < kMasterNameLength) return {};
  return masterFilePath.substr(0, masterFilePath.size() - kMasterNameLength);
}

std::string MigrationDirWithoutBackslash(const std::string& masterFilePath) {
  if (masterFilePath.size() < kMasterNameLength + 1) return {};
  return masterFilePath.substr(0, masterFilePath.size() - kMasterNameLength - 1);
}

std::string ProfileDirectory(const Program& program) {
  return "c:\\documents and settings\\" + program.session.strUserName;
}

RoutineOutcome RestoreAddressBook(Program& program, const std::string& path) {
  if (!ntFamily(program)) return RoutineOutcome::passedOver("Windows 95/98 keeps it where it is");
  constexpr std::string_view kMailbox = "mailbox.pab";
  const bool mailbox = path.size() >= kMailbox.size() &&
                       std::string_view(path).substr(path.size() - kMailbox.size()) == kMailbox;
  const std::string target =
      windowsDirectory(program) + "\\" + (mailbox ? std::string(kMailbox) : fileNameOf(path));
  if (!program.files().fileExists(path)) {
    // "Reg Only" is the capture's word for an address book it did not find.
    return path == "Reg Only" ? RoutineOutcome::passedOver("no address book file was captured")
                              : RoutineOutcome::failed(path + " is missing");
  }
  const platform::Status copied = program.files().copyFile(path, target, kReplace);
  if (copied.failed()) return RoutineOutcome::failed(target + ": " + describe(copied));
  return RoutineOutcome::done(target);
}

RoutineOutcome RestoreScreenSaver(Program& program, const std::string& path) {
  if (!ntFamily(program)) return RoutineOutcome::passedOver("Windows 95/98 has no place for it");
  const std::string name = fileNameOf(path);
  struct Place {
    const char* folder;
    const char* value;
  };
  // NOTE: both fixed places are tried and the value written after each copy, so the second
  // stands even where the copy into it failed.
  constexpr Place kPlaces[] = {{"C:\\winnt\\system32\\", "C:\\Winnt\\System32\\"},
                               {"C:\\windows\\system32\\", "C:\\Windows\\System32\\"}};
  std::string copiedInto;
  std::string value;
  for (const Place& place : kPlaces) {
    const platform::Status copied = program.files().copyFile(path, place.folder, kReplace);
    if (copied.ok()) copiedInto += (copiedInto.empty() ? "" : " and ") + std::string(place.folder);
    platform::ignoreFailure(copied, "a fixed place of the screen saver that this system lacks");
    value = place.value + name;
    SetKeyValue(program.registry(), platform::HKEY_CURRENT_USER, kDesktopKey, "SCRNSAVE.EXE", value,
                platform::REG_SZ);
  }
  if (copiedInto.empty()) {
    return RoutineOutcome::failed(path + " could not be copied into a system32 folder");
  }
  std::string detail = "copied into " + copiedInto + "; SCRNSAVE.EXE is " + value;
  if (!program.files().fileExists(value)) detail += ", which does not exist";
  return RoutineOutcome::done(detail);
}

RoutineOutcome RestoreWallpaper(Program& program, const std::string& path) {
  const std::string target = windowsDirectory(program) + "\\" + fileNameOf(path);
  // The wallpaper is set even when the copy failed, as it always was; the report tells both.
  const platform::Status copied = program.files().copyFile(path, target, kReplace);
  std::string image = target;
  const platform::Status set = program.machine().systemParameters().SystemParametersInfoA(
      platform::SPI_SETDESKWALLPAPER, 0, image.data(),
      platform::SPIF_UPDATEINIFILE | platform::SPIF_SENDWININICHANGE);
  if (copied.failed())
    return RoutineOutcome::failed(path + " to " + target + ": " + describe(copied));
  if (set.failed())
    return RoutineOutcome::failed("SPI_SETDESKWALLPAPER " + target + ": " + describe(set));
  return RoutineOutcome::done(target);
}

RoutineOutcome ImportBookmarks(Program& program, const std::string& path) {
  const platform::Status imported =
      program.machine().shellUIHelper().ImportExportFavorites(true, path);
  if (imported.failed()) return RoutineOutcome::failed(path + ": " + describe(imported));
  return RoutineOutcome::done(path);
}

RoutineOutcome RestoreShortcuts(Program& program, const std::string& directory) {
  platform::FileSystem& files = program.files();
  forms::FileListBox fileLnk("fileLnk", files);
  if (const platform::Status pointed = fileLnk.setPath(directory); pointed.failed()) {
    return RoutineOutcome::failed(directory + ": " + describe(pointed));
  }
  fileLnk.refresh();
  if (fileLnk.count() == 0) return RoutineOutcome::passedOver(directory + " holds no file");
  const std::string desktop = GetEnvVar(program, "USERPROFILE") + "\\desktop";
  const platform::Status copied =
      files.copyFile(forms::joinPath(directory, "*.*"), desktop, kReplace);
  if (copied.failed()) return RoutineOutcome::failed(desktop + ": " + describe(copied));
  return RoutineOutcome::done(filesText(fileLnk.count()) + " onto " + desktop);
}

RoutineOutcome RestoreFavorites(Program& program) {
  platform::FileSystem& files = program.files();
  const std::string source = MigrationDirWithBackslash(migFileText(program)) + "Drivers\\Favorites";
  if (!files.folderExists(source)) return RoutineOutcome::passedOver("no favorites were captured");
  const std::string target =
      registryText(program, platform::HKEY_CURRENT_USER, kShellFoldersKey, "Favorites");
  if (target.empty() || !files.folderExists(target)) {
    return RoutineOutcome::failed("the Favorites shell folder \"" + target + "\" does not exist");
  }
  // NOTE: the favorites the user kept in folders of their own need those folders on the new
  // machine; they are made here rather than the favorites lost.
  CopyTree(files, source, target, Subfolders::Enter, "*.*", MissingFolders::Create);
  const std::vector<std::string> missing =
      FilesNotCopied(files, source, target, HiddenEntries::LeaveOut);
  if (!missing.empty()) {
    return RoutineOutcome::failed(std::to_string(missing.size()) + " favorites not in " + target +
                                  ", the first " + missing.front());
  }
  return RoutineOutcome::done(target);
}

RoutineOutcome RestoreLotusNotes(Program& program, const std::string& masterFilePath) {
  platform::FileSystem& files = program.files();
  const std::string m = MigrationDirWithBackslash(masterFilePath);
  // NOTE: the paths below hold a doubled backslash after the migration directory, as they
  // always did; the file system reads it as one.
  const std::string notesIni = m + "Files\\notes.ini";
  Copies copies(files);
  copies.file(m + "\\files\\*.oft", "c:\\program files\\microsoft office\\templates\\outlook\\");
  copies.file(m + "\\files\\normal.dot",
              "c:\\program files\\microsoft office\\templates\\normal.dot");
  copies.file(m + "\\files\\approach.ini", windowsDirectory(program) + "\\approach.ini");

  const std::string notesPath =
      registryText(program, platform::HKEY_LOCAL_MACHINE, "Software\\Lotus\\Notes", "Path");
  const std::string dataPath =
      registryText(program, platform::HKEY_LOCAL_MACHINE, "Software\\Lotus\\Notes", "DataPath");
  if (anyFile(files, notesIni)) {
    if (notesPath.empty()) {
      copies.cannot(notesIni, "Lotus Notes has no Path on this machine");
    } else {
      copies.file(notesIni, notesPath);
    }
  }
  for (const char* pattern : {"*.nsf", "*.dsk", "*.ntf", "*.nbf", "*.id", "*.njf"}) {
    const std::string source = m + "\\files\\" + pattern;
    if (dataPath.empty() && anyFile(files, source)) {
      copies.cannot(source, "Lotus Notes has no DataPath on this machine");
      continue;
    }
    copies.file(source, dataPath);
  }
  copies.folder(program.mainWindow().fieldText(MainWindow::Field::FileDir) +
                    "\\Migration\\Files\\w2kconversion",
                "c:\\w2kconversion");
  return copies.outcome();
}

RoutineOutcome RestoreDesktopFolders(Program& program) {
  platform::FileSystem& files = program.files();
  const std::string folders = MigrationDirWithoutBackslash(migFileText(program)) + "\\Folders";
  const auto entries = files.listFolder(folders, "*");
  Copies copies(files);
  if (entries) {
    for (const auto& entry : entries.value()) {
      if ((entry.attributes & platform::FILE_ATTRIBUTE_DIRECTORY) == 0) continue;
      copies.folder(folders + "\\" + entry.name,
                    ProfileDirectory(program) + "\\desktop\\" + entry.name);
    }
  }
  return copies.outcome();
}

RoutineOutcome RemoveDesktopWindowsFolder(Program& program) {
  platform::FileSystem& files = program.files();
  const std::string folder = ProfileDirectory(program) + "\\desktop\\windows";
  if (!files.folderExists(folder)) return RoutineOutcome::passedOver(folder + " does not exist");
  // NOTE: a restore of Windows 95/98 desktop entries puts them below this folder; deleting it
  // then would lose them. Only a folder without files goes.
  const std::vector<TreeFile> held = FilesInTree(files, folder, HiddenEntries::Count);
  if (!held.empty()) {
    return RoutineOutcome::passedOver("kept " + folder + ": it holds " + filesText(held.size()) +
                                      ", the first " + held.front().relativePath);
  }
  const platform::Status deleted = files.deleteFolder(folder, platform::Force::Yes);
  if (deleted.failed()) return RoutineOutcome::failed(folder + ": " + describe(deleted));
  return RoutineOutcome::done("removed " + folder);
}

RoutineOutcome MoveMyDocuments(Program& program) {
  platform::FileSystem& files = program.files();
  if (!files.folderExists(kOldMyDocuments)) {
    return RoutineOutcome::passedOver(std::string(kOldMyDocuments) + " does not exist");
  }
  const std::string pattern = std::string(kOldMyDocuments) + "\\*.*";
  const std::string target = ProfileDirectory(program) + "\\My Documents";
  // Nothing matching is no failure: a folder without sub-folders, or without files.
  const platform::Status folders = files.copyFolder(pattern, target, kReplace);
  const platform::Status documents = files.copyFile(pattern, target, kReplace);
  std::string problem;
  for (const auto& [status, nothing] : {std::pair{folders, platform::ERROR_PATH_NOT_FOUND},
                                        std::pair{documents, platform::ERROR_FILE_NOT_FOUND}}) {
    if (status.failed() && (status != nothing || !files.folderExists(target))) {
      problem = "the copy into " + target + " failed (" + describe(status) + ")";
    }
  }
  const std::vector<std::string> notCopied =
      FilesNotCopied(files, kOldMyDocuments, target, HiddenEntries::Count);
  if (problem.empty() && !notCopied.empty()) {
    problem = filesText(notCopied.size()) + " did not arrive in " + target + ", the first " +
              notCopied.front();
  }
  if (!problem.empty()) {
    return RoutineOutcome::failed("kept " + std::string(kOldMyDocuments) + ": " + problem);
  }
  const platform::Status deleted = files.deleteFolder(kOldMyDocuments, platform::Force::Yes);
  if (deleted.failed()) {
    return RoutineOutcome::failed("moved into " + target + ", but " + kOldMyDocuments +
                                  " could not be deleted (" + describe(deleted) + ")");
  }
  return RoutineOutcome::done("moved into " + target);
}

}  // namespace migration
