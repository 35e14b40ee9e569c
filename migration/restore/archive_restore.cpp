#include "restore/archive_restore.h"

#include <map>
#include <string_view>

#include "context/main_window.h"
#include "context/mdl_main.h"
#include "context/program.h"
#include "context/run_log.h"
#include "platform/blanks.h"
#include "platform/text_encoding.h"
#include "platform/text_file.h"
#include "restore/archive_catalogue.h"
#include "x_zip.h"

namespace migration {

namespace {

constexpr std::size_t kBackslashAndMasterName = 11;  // "\master.mig"
constexpr std::uint32_t kPauseAfterFailure = 10;     // milliseconds
constexpr std::string_view kWindowsDesktop = "windows/desktop";

std::string withoutLast(const std::string& text, std::size_t count) {
  return text.size() >= count ? text.substr(0, text.size() - count) : std::string();
}

std::string toLower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

class ArchiveRestorer {
 public:
  explicit ArchiveRestorer(Program& program)
      : m_program(program), m_window(program.mainWindow()), m_files(program.files()) {}

  ArchiveRestore run() {
    const std::string masterFile = m_window.fieldText(MainWindow::Field::MigFile);
    if (masterFile.empty()) {
      m_program.msgBox("Please browse to your Master.mig file.", forms::MsgButtons::OK,
                       forms::MsgIcon::Information, "Browse");
      m_window.Update_Status(1, "Ready");
      return std::move(m_result);
    }
    bool keepPaths = false;
    readPointerFile(masterFile, keepPaths);
    m_window.setFieldText(MainWindow::Field::RestoreFiles, "C:\\");
    if (platform::trimmed(m_result.archive).empty()) {
      m_result.archive.clear();
    } else {
      extractAll(keepPaths);
    }
    m_window.Update_Status(1, "Ready");
    return std::move(m_result);
  }

 private:
  void readPointerFile(const std::string& masterFile, bool& keepPaths) {
    const std::string directory = withoutLast(masterFile, kBackslashAndMasterName);
    m_result.pointerFile =
        directory == "C:\\" ? directory + "oldfile.cfg" : directory + "\\oldfile.cfg";
    auto reader = platform::TextReader::open(m_files, m_result.pointerFile);
    if (!reader) {
      // Before the first entry the folder an entry needs is the restore folder itself; a file
      // missing from an existing folder needs no folder made.
      if (reader.status() == platform::ERROR_PATH_NOT_FOUND) {
        makeFolder(m_window.fieldText(MainWindow::Field::RestoreFiles), "");
      }
      pause();
      m_program.runLog().note("RestoreFilesAlso: " + m_result.pointerFile + " cannot be read (" +
                              RunLog::describe(reader.status()) + ")");
      return;
    }
    std::string flag;
    reader->readLine(m_result.archive);
    reader->readLine(flag);
    // Read only: nothing is lost when closing it fails.
    platform::ignoreFailure(reader->close(), "closing oldfile.cfg after reading it");
    // Anything but True, in any letter case, counts as False.
    keepPaths = platform::ansiEqualNoCase(platform::trimmed(flag), "True");
  }

  void extractAll(bool keepPaths) {
    parcelon::xZip* zip = m_window.zipComponent();
    if (zip == nullptr) {
      m_result.problem = "the zip component is not available on this machine";
      return;
    }
    std::int32_t count = 0;
    try {
      zip->Close();
    } catch (const parcelon::ZipComponentError&) {
      pause();  // nothing was open: the archive is opened all the same
    }
    try {
      zip->OpenZip(m_result.archive);
      count = zip->FileCount();
    } catch (const parcelon::ZipComponentError& error) {
      m_result.problem = "could not be opened: " + error.text();
      pause();
      return;
    }
    m_program.runLog().note("RestoreFilesAlso: " + m_result.archive + ", " + std::to_string(count) +
                            " entries, " + (keepPaths ? "folders kept" : "folders not kept"));
    m_window.Update_Status(1, "Restoring Files...");
    m_window.Update_Status(2, "Restored 0 Files");
    for (std::int32_t rec = 0; rec < count; ++rec) {
      extractOne(*zip, rec, keepPaths);
      m_window.Update_Status(2, "Restored " + std::to_string(rec + 1) + " Files");
    }
    try {
      zip->Close();
    } catch (const parcelon::ZipComponentError&) {
      pause();
    }
  }

  void extractOne(parcelon::xZip& zip, std::int32_t rec, bool keepPaths) {
    PlacedEntry entry;
    try {
      entry.name = zip.Filename(rec);
    } catch (const parcelon::ZipComponentError& error) {
      m_program.runLog().note("RestoreFilesAlso: entry " + std::to_string(rec) +
                              " has no name: " + error.text());
      pause();
      return;
    }
    const std::size_t slash = entry.name.rfind('/');
    const std::string folderPart = slash == std::string::npos ? "" : entry.name.substr(0, slash);
    std::string base = "C:\\";
    if (keepPaths && m_program.session.strOS == "Windows_NT" &&
        toLower(folderPart.substr(0, kWindowsDesktop.size())) == kWindowsDesktop) {
      base = "c:\\documents and settings\\" + m_program.session.strUserName + "\\desktop\\";
    }
    entry.target = base + ReplaceText(entry.name, "/", "\\");
    if (LeavesItsFolder(entry.name)) {
      entry.refused = true;
      m_program.runLog().note("RestoreFilesAlso: refused the entry " + entry.name +
                              ": its name leaves the folder it would be restored into");
      m_result.entries.push_back(std::move(entry));
      return;
    }
    if (keepPaths) makeSureOf(base, folderPart);
    try {
      zip.ExtractFile(entry.name, base, "");
    } catch (const parcelon::ZipComponentError& error) {
      entry.problem =
          "the component raised " + std::to_string(error.number()) + ": " + error.text();
      m_program.runLog().note("RestoreFilesAlso: " + entry.name + ": " + entry.problem);
      pause();
    }
    m_result.entries.push_back(std::move(entry));
  }

  // The entry's folder becomes the current directory; when it does not exist, it is made.
  // NOTE: a folder that is missing and then made is the usual case on a fresh machine, not a
  // failure: the pause after failures is kept for folders that cannot be made, so that a tree of
  // a few hundred folders does not cost seconds of waiting.
  void makeSureOf(const std::string& base, const std::string& folderPart) {
    const std::string folder = base + folderPart;
    if (m_files.setCurrentDirectory(folder).ok()) return;
    makeFolder(base, folderPart);
    if (m_files.setCurrentDirectory(folder).failed()) pause();
  }

  void makeFolder(const std::string& base, const std::string& folderPart) {
    m_window.creatpath(base + ReplaceText(folderPart, "/", "\\"), 2);
  }

  void pause() { m_program.machine().clock().sleep(kPauseAfterFailure); }

  Program& m_program;
  MainWindow& m_window;
  platform::FileSystem& m_files;
  ArchiveRestore m_result;
};

RestoreReport::Item judge(platform::FileSystem& files, const PlacedEntry& entry,
                          const CatalogueEntry* catalogued) {
  RestoreReport::Item item{entry.name + " -> " + entry.target, Arrival::Missing, entry.problem};
  if (entry.refused) {
    item.arrival = Arrival::Refused;
    item.detail = "its name leaves the folder it would be restored into";
    return item;
  }
  const auto info = files.fileInfo(entry.target);
  const bool folder = info && (info->attributes & platform::FILE_ATTRIBUTE_DIRECTORY) != 0;
  // A folder's own entry ("Data/Sub/") arrived when the folder is there.
  const bool folderEntry = !entry.name.empty() && entry.name.back() == '/';
  if (folderEntry) {
    item.arrival = folder ? Arrival::Arrived : Arrival::Missing;
    return item;
  }
  if (!info || folder) return item;
  if (catalogued == nullptr) {
    item.arrival = Arrival::Arrived;
    return item;
  }
  const auto crc = FileCrc32(files, entry.target);
  item.arrival =
      JudgeEntry(catalogued->size, catalogued->crc, crc.ok(), info->size, crc.valueOr(0));
  if (!crc) item.detail = "it cannot be read (" + RunLog::describe(crc.status()) + ")";
  if (item.arrival == Arrival::Differs) {
    item.detail = std::to_string(info->size) + " bytes where the archive holds " +
                  std::to_string(catalogued->size) +
                  (info->size == catalogued->size ? ", another CRC" : "");
  }
  return item;
}

}  // namespace

bool LeavesItsFolder(const std::string& entryName) {
  if (entryName.empty()) return false;
  if (entryName.front() == '/' || entryName.front() == '\\') return true;
  if (entryName.find(':') != std::string::npos) return true;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = entryName.find_first_of("/\\", start);
    if (entryName.substr(start, end - start) == "..") return true;
    if (end == std::string::npos) return false;
    start = end + 1;
  }
}

ArchiveRestore RestoreArchivedFiles(Program& program) { return ArchiveRestorer(program).run(); }

void ReconcileArchive(platform::FileSystem& files, const ArchiveRestore& restored,
                      RestoreReport& report) {
  if (restored.archive.empty()) {
    report.addRoutine("RestoreFilesAlso", RoutineOutcome::passedOver(
                                              restored.pointerFile.empty()
                                                  ? "no master command file named"
                                                  : "no archive named by " + restored.pointerFile));
    return;
  }
  if (!restored.problem.empty()) {
    report.addArchive(restored.archive, {}, restored.problem);
    return;
  }
  std::string problem;
  std::map<std::string, CatalogueEntry> byName;
  auto catalogue = ReadArchiveCatalogue(files, restored.archive);
  if (catalogue) {
    for (CatalogueEntry& entry : catalogue.value())
      byName.try_emplace(entry.name, std::move(entry));
  } else {
    problem = "its table of contents cannot be read (" + RunLog::describe(catalogue.status()) +
              "), so sizes and CRCs were not compared";
  }
  std::vector<RestoreReport::Item> items;
  items.reserve(restored.entries.size());
  for (const PlacedEntry& entry : restored.entries) {
    const auto found = byName.find(entry.name);
    items.push_back(judge(files, entry, found == byName.end() ? nullptr : &found->second));
  }
  report.addArchive(restored.archive, std::move(items), problem);
}

}  // namespace migration
