#include "scan/mdl_file_copy.h"

#include <vector>

#include "capture/migration_dirs.h"
#include "forms/dir_list_box.h"
#include "frame/frm_main.h"
#include "frame/mdl_main.h"
#include "frame/program.h"
#include "platform/text_encoding.h"
#include "platform/text_file.h"
#include "scan/found_file_row.h"
#include "scan/mdl_file_search.h"

namespace migration {

namespace {

constexpr const char* kArchiveName = "migfiles.mig";
constexpr const char* kArchiveComment = "Migrated Files";
constexpr const char* kEntryComment = "Migrated File";
constexpr const char* kPointerFile = "migration\\oldfile.cfg";
constexpr const char* kScriptFile = "script.mig";
// The longest list of left-out files a message shows; the rest are counted.
constexpr std::size_t kMostFilesNamed = 10;

constexpr const char* kProfilePatterns =
    "*.doc;*.dot;*.rtf;*.xls;*.xle;*.ppt;*.mdb;*.mde;*.ppj;*.zip;*.arj;*.lhz;*.rar;*.ace;*.cad;"
    "*.dwg";

bool isRegistryEntry(const std::string& line) {
  return line.size() >= 4 && platform::ansiEqualNoCase(std::string_view(line).substr(0, 4), "hkey");
}

// One run of the copy: the archive being written, the count in the status line, and the files
// that did not get into the archive.
class ArchiveCopy {
 public:
  ArchiveCopy(Program& program, bool savePath)
      : m_program(program), m_form(program.mainForm()), m_savePath(savePath) {}

  [[nodiscard]] platform::Status create(const std::string& archivePath) {
    m_archivePath = archivePath;
    if (!m_form.xZip) {
      m_problem = "The zip component is not available on this machine.";
      return platform::ERROR_MOD_NOT_FOUND;
    }
    try {
      m_form.xZip->CreateZip(archivePath, kArchiveComment);
    } catch (const parcelon::ZipComponentError& error) {
      m_problem = error.text();
      return platform::ERROR_CANTWRITE;
    }
    return platform::ERROR_SUCCESS;
  }

  void addSelectedRows() {
    platform::FileSystem& files = m_program.files();
    for (const std::size_t row : m_form.lvFiles.selectedRows()) {
      const std::string path = foundFilePath(m_form.lvFiles.row(row));
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
    auto reader = platform::TextReader::open(
        m_program.files(), forms::joinPath(m_program.session.strAppPath, kScriptFile));
    if (!reader) return;
    std::string line;
    while (reader->readLine(line)) {
      if (line.empty()) break;
      if (isRegistryEntry(line)) continue;
      add(line);
      countOne();
    }
    platform::ignoreFailure(reader->close());  // read only
  }

  // Writes the archive's directory; an archive that cannot be finished is no archive.
  [[nodiscard]] platform::Status close() {
    try {
      m_form.xZip->Close();
    } catch (const parcelon::ZipComponentError& error) {
      m_problem = error.text();
      return platform::ERROR_CANTWRITE;
    }
    return platform::ERROR_SUCCESS;
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

 private:
  void add(const std::string& path) {
    bool added = false;
    try {
      added = m_form.xZip->AddFile(path, kEntryComment, m_savePath, "") == 0;
    } catch (const parcelon::ZipComponentError&) {
      added = false;
    }
    if (!added) m_leftOut.push_back(path);
  }

  void countOne() {
    ++m_count;
    m_form.Update_Status(2, "Copied " + std::to_string(m_count) + " Files");
  }

  Program& m_program;
  frmMain& m_form;
  bool m_savePath;
  std::string m_archivePath;
  std::string m_problem;
  std::vector<std::string> m_leftOut;
  int m_count = 0;
};

// Two lines: the archive's full path, and whether its entries keep their directories.
[[nodiscard]] platform::Status writePointerFile(Program& program, const std::string& archivePath,
                                                bool savePath) {
  const std::string path = forms::joinPath(program.mainForm().txtMigrateDir.text(), kPointerFile);
  auto writer =
      platform::TextWriter::open(program.files(), path, platform::OpenMode::CreateTruncate);
  if (!writer) return writer.status();
  platform::Status status = writer->writeLine(archivePath);
  if (status == platform::ERROR_SUCCESS) status = writer->writeLine(savePath ? "True" : "False");
  const platform::Status closed = writer->close();
  return status != platform::ERROR_SUCCESS ? status : closed;
}

// NOTE: the pointer file lives in the migration directory, which only an export makes. A copy
// made before the export would lose its pointer, and a restore would find no archive: so the
// copy makes the whole migration directory itself, as the export would, and the export then
// uses it as it finds it.
void writePointerFileMakingItsDirectory(Program& program, const std::string& archivePath,
                                        bool savePath) {
  if (writePointerFile(program, archivePath, savePath) == platform::ERROR_SUCCESS) return;
  const std::string chosen = program.mainForm().txtMigrateDir.text();
  const std::string migrationDir = MigrationDirectoryOf(chosen);
  if (program.files().folderExists(chosen) && !program.files().folderExists(migrationDir) &&
      CreateMigrationDirs(program.files(), migrationDir) &&
      writePointerFile(program, archivePath, savePath) == platform::ERROR_SUCCESS) {
    return;
  }
  const std::string path = forms::joinPath(chosen, kPointerFile);
  program.msgBox("The file " + path +
                     " could not be written, so a restore will not find the archive.",
                 forms::MsgButtons::OK, forms::MsgIcon::Exclamation, "Pointer File Not Written");
}

}  // namespace

platform::Status CopySelectedFiles(Program& program, const std::string& directory) {
  frmMain& form = program.mainForm();
  if (form.txtMigrateDir.text().empty()) {
    program.msgBox("You must specify a Migration directory first!", forms::MsgButtons::OK,
                   forms::MsgIcon::Information, "Specify a Directory");
    form.Update_Status(1, "Ready");
    return platform::ERROR_PATH_NOT_FOUND;
  }
  const bool savePath = form.chkSaveDir.value() == forms::CheckState::Checked;
  form.Update_Status(1, "Copying Files...");
  form.Update_Status(2, "Copied 0 Files");

  const std::string archivePath = forms::joinPath(directory, kArchiveName);
  ArchiveCopy copy(program, savePath);
  if (const platform::Status status = copy.create(archivePath); status != platform::ERROR_SUCCESS) {
    copy.reportFailure();
    form.Update_Status(1, "Ready");
    return status;
  }
  writePointerFileMakingItsDirectory(program, archivePath, savePath);
  copy.addSelectedRows();
  form.Update_Status(1, "Ready");
  copy.addScriptEntries();
  const platform::Status closed = copy.close();
  form.Update_Status(1, "Ready");
  if (closed != platform::ERROR_SUCCESS) {
    copy.reportFailure();
    return closed;
  }
  copy.reportLeftOut();
  return platform::ERROR_SUCCESS;
}

bool FolderExists(Program& program, std::string& path) {
  const std::size_t first = path.find_first_not_of(' ');
  path = first == std::string::npos ? std::string()
                                    : path.substr(first, path.find_last_not_of(' ') - first + 1);
  return !path.empty() && program.files().folderExists(path);
}

void CopyDataFiles(Program& program) {
  platform::FileSystem& files = program.files();
  const std::string target =
      forms::joinPath(program.mainForm().txtFileDir.text(), "Migration\\Files\\");
  constexpr platform::Overwrite kReplace = platform::Overwrite::Yes;
  // Each item is optional on a given machine: a missing one is skipped without a word.
  platform::ignoreFailure(
      files.copyFolder("C:\\w2kconversion", target + "w2kconversion", kReplace));
  platform::ignoreFailure(files.copyFile(
      "c:\\program files\\microsoft office\\templates\\outlook\\*.oft", target, kReplace));
  platform::ignoreFailure(files.copyFile(
      "c:\\program files\\microsoft office\\templates\\normal.dot", target, kReplace));
  platform::ignoreFailure(
      files.copyFile(GetEnvVar(program, "windir") + "\\" + program.session.strUserName + ".FAV",
                     target, kReplace));
}

void BackupProfileFiles(Program& program) {
  const std::string profile =
      GetEnvVar(program, "windir") + "\\Profiles\\" + program.session.strUserName;
  if (!program.files().folderExists(profile)) return;
  ScanForFiles(program, profile, kProfilePatterns);
  frmMain& form = program.mainForm();
  form.Select_All();
  // Failures were reported to the user by the copy itself.
  platform::ignoreFailure(
      CopySelectedFiles(program, forms::joinPath(form.txtFileDir.text(), "migration\\files\\")));
}

}  // namespace migration
