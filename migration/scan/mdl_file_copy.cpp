#include "scan/mdl_file_copy.h"

#include <utility>
#include <vector>

#include "context/migration_dirs.h"
#include "forms/dir_list_box.h"
#include "context/mdl_main.h"
#include "context/program.h"
#include "platform/text_encoding.h"
#include "platform/text_file.h"
#include "scan/found_file_row.h"
#include "scan/mdl_file_search.h"
#include "context/script_file.h"
#include "x_zip.h"
#include "platform/blanks.h"

namespace migration {

namespace {

constexpr const char* kArchiveName = "migfiles.mig";
constexpr const char* kArchiveComment = "Migrated Files";
constexpr const char* kEntryComment = "Migrated File";
constexpr const char* kPointerFile = "migration\\oldfile.cfg";
// The longest list of left-out files a message shows; the rest are counted.
constexpr std::size_t kMostFilesNamed = 10;
// The largest file the archive holds: its records count sizes in 32 bits.
constexpr std::uint64_t kLargestEntry = 0xFFFFFFFFull;

constexpr const char* kProfilePatterns =
    "*.doc;*.dot;*.rtf;*.xls;*.xle;*.ppt;*.mdb;*.mde;*.ppj;*.zip;*.arj;*.lhz;*.rar;*.ace;*.cad;"
    "*.dwg";

// Two lines: the archive's full path, and whether its entries keep their directories.
[[nodiscard]] platform::Status writePointerFile(platform::FileSystem& files,
                                                const std::string& path,
                                                const std::string& archivePath, bool savePath) {
  auto writer = platform::TextWriter::open(files, path, platform::OpenMode::CreateTruncate);
  if (!writer) return writer.status();
  platform::Status status = writer->writeLine(archivePath);
  if (status.ok()) status = writer->writeLine(savePath ? "True" : "False");
  const platform::Status closed = writer->close();
  return status.failed() ? status : closed;
}

// One run of the copy: the archive being written, its pointer file, the count in the status
// line, and the files that did not get into the archive.
class ArchiveCopy {
 public:
  ArchiveCopy(Program& program, std::string archivePath, bool savePath)
      : m_program(program),
        m_form(program.mainWindow()),
        m_archivePath(std::move(archivePath)),
        m_pointerPath(forms::joinPath(m_form.fieldText(MainWindow::Field::MigrateDir), kPointerFile)),
        m_savePath(savePath) {}

  [[nodiscard]] platform::Status run() {
    if (const platform::Status status = create(); status.failed()) {
      m_form.Update_Status(1, "Ready");
      reportFailure();
      return status;
    }
    const bool pointerWritten = writePointerFileMakingItsDirectory();
    logIntoTheMigrationDirectory();
    m_program.runLog().note("archive " + m_archivePath + ", pointer file " + m_pointerPath);
    addSelectedRows();
    m_form.Update_Status(1, "Ready");
    addScriptEntries();
    const platform::Status closed = close();
    m_form.Update_Status(1, "Ready");
    if (closed.failed()) {
      discardUnfinishedArchive(pointerWritten);
      reportFailure();
      return closed;
    }
    reportLeftOut();
    m_program.runLog().note("archive written: " + std::to_string(m_count - m_leftOut.size()) +
                            " of " + std::to_string(m_count) + " files");
    return platform::ERROR_SUCCESS;
  }

 private:
  [[nodiscard]] platform::Status create() {
    if (m_form.zipComponent() == nullptr) {
      m_problem = "The zip component is not available on this machine.";
      return platform::ERROR_MOD_NOT_FOUND;
    }
    try {
      m_form.zipComponent()->CreateZip(m_archivePath, kArchiveComment);
    } catch (const parcelon::ZipComponentError& error) {
      m_problem = error.text();
      return platform::ERROR_CANTWRITE;
    }
    m_archiveFullPath = m_program.files().fullPath(m_archivePath).valueOr(m_archivePath);
    return platform::ERROR_SUCCESS;
  }

  // NOTE: the pointer file lives in the migration directory, which only an export makes. A copy
  // made before the export would lose its pointer, and a restore would find no archive: so the
  // copy makes the whole migration directory itself, as the export would, and the export then
  // uses it as it finds it.
  bool writePointerFileMakingItsDirectory() {
    if (writePointer().ok()) return true;
    platform::FileSystem& files = m_program.files();
    const std::string chosen = m_form.fieldText(MainWindow::Field::MigrateDir);
    const std::string migrationDir = MigrationDirectoryOf(chosen);
    if (files.folderExists(chosen) && !files.folderExists(migrationDir) &&
        CreateMigrationDirs(files, migrationDir) && writePointer().ok()) {
      return true;
    }
    report("The file " + m_pointerPath +
               " could not be written, so a restore will not find the archive.",
           "Pointer File Not Written");
    return false;
  }

  // The log belongs with the migration it describes, once that directory exists.
  void logIntoTheMigrationDirectory() {
    const std::string migrationDir =
        MigrationDirectoryOf(m_form.fieldText(MainWindow::Field::MigrateDir));
    RunLog& log = m_program.runLog();
    if (!log.hasFolder() && m_program.files().folderExists(migrationDir)) log.setFolder(migrationDir);
  }

  [[nodiscard]] platform::Status writePointer() {
    return writePointerFile(m_program.files(), m_pointerPath, m_archivePath, m_savePath);
  }

  void addSelectedRows() {
    platform::FileSystem& files = m_program.files();
    const forms::ListView& found = m_form.foundFiles();
    for (const std::size_t row : found.selectedRows()) {
      const std::string path = foundFilePath(found.row(row));
      if (files.fileExists(path)) {
        add(files.fullPath(path).valueOr(path));
      } else {
        leaveOut(path, "");  // gone since the scan
      }
      countOne();
    }
  }

  // File entries of script.mig up to its first empty line; registry entries belong to the
  // capture. No script is no error.
  void addScriptEntries() {
    auto reader = platform::TextReader::open(m_program.files(), ScriptFilePath(m_program.session));
    if (!reader) return;
    std::string line;
    while (reader->readLine(line)) {
      if (line.empty()) break;
      if (IsRegistryEntry(line)) continue;
      add(line);
      countOne();
    }
    platform::ignoreFailure(reader->close(), "read only");
  }

  // Writes the archive's directory; an archive that cannot be finished is no archive.
  [[nodiscard]] platform::Status close() {
    try {
      // The component says -1 when the writer could not finish (a full disk).
      if (m_form.zipComponent()->Close() == 0) return platform::ERROR_SUCCESS;
      m_problem = "The zip component could not finish it: the disk may be full.";
    } catch (const parcelon::ZipComponentError& error) {
      m_problem = error.text();
    }
    return platform::ERROR_CANTWRITE;
  }

  // A torn archive holds nothing the user does not still have, and a pointer to it would send
  // the restore to it: neither stays.
  void discardUnfinishedArchive(bool pointerWritten) {
    platform::FileSystem& files = m_program.files();
    platform::ignoreFailure(files.deleteFile(m_archivePath, platform::Force::No), "removing an unfinished archive");
    if (pointerWritten) {
      platform::ignoreFailure(files.deleteFile(m_pointerPath, platform::Force::No), "removing the pointer to an unfinished archive");
    }
  }

  void reportFailure() const {
    report("The archive " + m_archivePath + " could not be written.\r\n" + m_problem,
           "Archive Not Written");
  }

  void reportLeftOut() const {
    if (m_leftOut.empty()) return;
    std::string text = "These files could not be added to the archive " + m_archivePath + ":";
    for (std::size_t i = 0; i < m_leftOut.size() && i < kMostFilesNamed; ++i) {
      text += "\r\n" + m_leftOut[i].path + " (" + m_leftOut[i].reason + ")";
    }
    if (m_leftOut.size() > kMostFilesNamed) {
      text += "\r\n(and " + std::to_string(m_leftOut.size() - kMostFilesNamed) + " more)";
    }
    // Each file is in the log already, as a warning with its reason.
    if (!unattended()) {
      m_program.msgBox(text, forms::MsgButtons::OK, forms::MsgIcon::Exclamation,
                       "Files Not Copied");
    }
  }

  bool unattended() const { return m_program.session.bAutoMode || m_program.session.bRestoreMode; }

  // A report of ours, where the user would otherwise never learn of the problem: a box for the
  // user at the window; in a run nobody watches, the log and standard error instead of a box
  // that would wait.
  void report(const std::string& text, const std::string& title) const {
    m_program.runLog().failure(title + ": " + oneLine(text));
    if (unattended()) return;
    m_program.msgBox(text, forms::MsgButtons::OK, forms::MsgIcon::Exclamation, title);
  }

  static std::string oneLine(std::string text) {
    for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at)) {
      text.replace(at, 2, "; ");
    }
    return text;
  }

  // Why a file did not get into the archive, for the user and the log.
  std::string leftOutReason(const std::string& path, const std::string& componentText) const {
    platform::FileSystem& files = m_program.files();
    if (!files.fileExists(path)) return "no longer there";
    if (isTheArchive(path)) return "the archive itself";
    if (!componentText.empty()) return componentText;
    if (const auto info = files.fileInfo(path); info && info->size > kLargestEntry) {
      return "too large for the archive, which holds files up to 4 GB";
    }
    if (auto opened = files.openFile(path, platform::OpenMode::Read); !opened) {
      return "unreadable (" + RunLog::describe(opened.status()) + ")";
    }
    return "the archive could not take it: the disk may be full";
  }

  void add(const std::string& path) {
    bool added = false;
    std::string componentText;
    // NOTE: the archive is never added to itself: the component would read the file it is
    // writing, and a restore would unpack a torn copy over the archive it reads from.
    if (!isTheArchive(path)) {
      try {
        added = m_form.zipComponent()->AddFile(path, kEntryComment, m_savePath, "") == 0;
      } catch (const parcelon::ZipComponentError& error) {
        componentText = error.text();
      }
    }
    if (added) {
      m_program.runLog().note("archived " + path);
    } else {
      leaveOut(path, componentText);
    }
  }

  void leaveOut(const std::string& path, const std::string& componentText) {
    LeftOut file{path, leftOutReason(path, componentText)};
    m_program.runLog().warning("not archived: " + file.path + " (" + file.reason + ")");
    m_leftOut.push_back(std::move(file));
  }

  bool isTheArchive(const std::string& path) const {
    const std::string full = m_program.files().fullPath(path).valueOr(path);
    return platform::ansiEqualNoCase(full, m_archiveFullPath);
  }

  void countOne() {
    ++m_count;
    m_form.Update_Status(2, "Copied " + std::to_string(m_count) + " Files");
  }

  Program& m_program;
  MainWindow& m_form;
  const std::string m_archivePath;
  const std::string m_pointerPath;
  const bool m_savePath;
  std::string m_archiveFullPath;  // as the file system reports it, once created
  std::string m_problem;
  struct LeftOut {
    std::string path;
    std::string reason;
  };
  std::vector<LeftOut> m_leftOut;
  int m_count = 0;
};

}  // namespace

platform::Status CopySelectedFiles(Program& program, const std::string& directory) {
  MainWindow& form = program.mainWindow();
  if (form.fieldText(MainWindow::Field::MigrateDir).empty()) {
    program.msgBox("You must specify a Migration directory first!", forms::MsgButtons::OK,
                   forms::MsgIcon::Information, "Specify a Directory");
    form.Update_Status(1, "Ready");
    return platform::ERROR_PATH_NOT_FOUND;
  }
  const bool savePath = form.isChecked(MainWindow::Option::SaveDirectories);
  form.Update_Status(1, "Copying Files...");
  form.Update_Status(2, "Copied 0 Files");
  return ArchiveCopy(program, forms::joinPath(directory, kArchiveName), savePath).run();
}

bool FolderExists(Program& program, std::string& path) {
  path = std::string(platform::trimmed(path, " "));
  return !path.empty() && program.files().folderExists(path);
}

void CopyDataFiles(Program& program) {
  platform::FileSystem& files = program.files();
  const std::string target =
      forms::joinPath(program.mainWindow().fieldText(MainWindow::Field::FileDir),
                      "Migration\\Files\\");
  constexpr platform::Overwrite kReplace = platform::Overwrite::Yes;
  // Each item is optional on a given machine: a missing one is skipped without a word.
  platform::ignoreFailure(
      files.copyFolder("C:\\w2kconversion", target + "w2kconversion", kReplace), "the w2kconversion folder of the profile backup");
  platform::ignoreFailure(files.copyFile(
      "c:\\program files\\microsoft office\\templates\\outlook\\*.oft", target, kReplace), "the Outlook templates of the profile backup");
  platform::ignoreFailure(files.copyFile(
      "c:\\program files\\microsoft office\\templates\\normal.dot", target, kReplace), "normal.dot of the profile backup");
  platform::ignoreFailure(
      files.copyFile(GetEnvVar(program, "windir") + "\\" + program.session.strUserName + ".FAV",
                     target, kReplace), "the user's .FAV file of the profile backup");
}

void BackupProfileFiles(Program& program) {
  const std::string profile =
      GetEnvVar(program, "windir") + "\\Profiles\\" + program.session.strUserName;
  if (!program.files().folderExists(profile)) return;
  ScanForFiles(program, profile, kProfilePatterns);
  MainWindow& form = program.mainWindow();
  form.Select_All();
  // Failures were reported to the user by the copy itself.
  platform::ignoreFailure(
      CopySelectedFiles(program, forms::joinPath(form.fieldText(MainWindow::Field::FileDir), "migration\\files\\")), "the files of the profile backup");
}

}  // namespace migration
