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
    m_program.msgBox("The file " + m_pointerPath +
                         " could not be written, so a restore will not find the archive.",
                     forms::MsgButtons::OK, forms::MsgIcon::Exclamation,
                     "Pointer File Not Written");
    return false;
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
        m_leftOut.push_back(path);  // gone since the scan
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
    m_program.msgBox("The archive " + m_archivePath + " could not be written.\r\n" + m_problem,
                     forms::MsgButtons::OK, forms::MsgIcon::Exclamation, "Archive Not Written");
  }

  void reportLeftOut() const {
    if (m_leftOut.empty()) return;
    std::string text = "These files could not be added to the archive " + m_archivePath + ":";
    for (std::size_t i = 0; i < m_leftOut.size() && i < kMostFilesNamed; ++i) {
      text += "\r\n" + m_leftOut[i];
    }
    if (m_leftOut.size() > kMostFilesNamed) {
      text += "\r\n(and " + std::to_string(m_leftOut.size() - kMostFilesNamed) + " more)";
    }
    m_program.msgBox(text, forms::MsgButtons::OK, forms::MsgIcon::Exclamation, "Files Not Copied");
  }

  void add(const std::string& path) {
    bool added = false;
    // NOTE: the archive is never added to itself: the component would read the file it is
    // writing, and a restore would unpack a torn copy over the archive it reads from.
    if (!isTheArchive(path)) {
      try {
        added = m_form.zipComponent()->AddFile(path, kEntryComment, m_savePath, "") == 0;
      } catch (const parcelon::ZipComponentError&) {
        added = false;
      }
    }
    if (!added) m_leftOut.push_back(path);
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
  std::vector<std::string> m_leftOut;
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
