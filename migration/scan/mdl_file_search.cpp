#include "scan/mdl_file_search.h"

#include "forms/dir_list_box.h"
#include "context/program.h"
#include "scan/breadth_first_search.h"
#include "scan/found_file_row.h"
#include "scan/mdl_exclude.h"

namespace migration {

namespace {

constexpr std::uint32_t kNotCopied = platform::FILE_ATTRIBUTE_HIDDEN |
                                     platform::FILE_ATTRIBUTE_SYSTEM |
                                     platform::FILE_ATTRIBUTE_DIRECTORY;

// Rows go into the main window's list; the count of all its rows goes into the status line.
class MainWindowScan final : public SearchVisitor {
 public:
  explicit MainWindowScan(Program& program)
      : m_program(program),
        m_form(program.mainWindow()),
        m_format(program.regionalFormat()),
        m_excluded(program.config.arrExcludeList) {}

  bool shouldQueue(const std::string& directory) override { return !m_excluded.matches(directory); }
  bool cancelled() override { return m_program.session.bCancel; }

  void foundFile(const std::string& directory, const platform::DirectoryEntry& file,
                 SearchLevel level, std::size_t index) override {
    forms::ListItem row = foundFileRow(directory, file, m_format);
    if (level == SearchLevel::Start) {
      // Listed without yielding, ahead of what earlier scans left in the list.
      m_form.foundFiles().insert(index, std::move(row));
    } else {
      // Lets a Cancel click (or any other command) in before each file.
      m_program.ui().doEvents();
      m_form.foundFiles().add(std::move(row));
    }
    m_form.Update_Status(2, "Found " + std::to_string(m_form.foundFiles().count()) + " Files");
  }

 private:
  Program& m_program;
  MainWindow& m_form;
  const RegionalFormat& m_format;
  ExcludeMatcher m_excluded;
};

std::string withBackslash(const std::string& directory) {
  return !directory.empty() && directory.back() == '\\' ? directory : directory + "\\";
}

}  // namespace

void ScanForFiles(Program& program, const std::string& start, const std::string& patterns) {
  MainWindow& form = program.mainWindow();
  form.Update_Status(1, "Scanning " + start + " for files...");
  // Rows of an earlier call stay in the list, and so in the count.
  form.Update_Status(2, "Found " + std::to_string(form.foundFiles().count()) + " Files");
  MainWindowScan visitor(program);
  BreadthFirstSearch(program.files(), patterns).run(start, visitor);
  form.Update_Status(1, "Ready");
}

bool CopyTree(platform::FileSystem& files, const std::string& source, const std::string& target,
              Subfolders subfolders, const std::string& pattern, MissingFolders missing) {
  const std::string from = withBackslash(source);
  const std::string to = withBackslash(target);

  // Sub-directories in the order the file system reports them, taken before any copy.
  std::vector<std::string> subdirectories;
  if (auto entries = files.listFolder(from, "*.*")) {
    for (const platform::DirectoryEntry& entry : entries.value()) {
      const bool hidden =
          entry.attributes & (platform::FILE_ATTRIBUTE_HIDDEN | platform::FILE_ATTRIBUTE_SYSTEM);
      if ((entry.attributes & platform::FILE_ATTRIBUTE_DIRECTORY) && !hidden) {
        subdirectories.push_back(entry.name);
      }
    }
  }

  if (auto entries = files.listFolder(from, pattern)) {
    for (const platform::DirectoryEntry& entry : entries.value()) {
      if (entry.attributes & kNotCopied) continue;
      // A file that cannot be copied is skipped without notice.
      platform::ignoreFailure(
          files.copyFile(from + entry.name, to + entry.name, platform::Overwrite::Yes), "a file of the data directory");
    }
  }

  if (subfolders == Subfolders::Skip) return true;
  for (const std::string& name : subdirectories) {
    if (!files.folderExists(to + name)) {
      if (missing == MissingFolders::Stop || files.createFolder(to + name).failed()) return false;
    }
    // A failure further down does not stop this level.
    CopyTree(files, from + name, to + name, subfolders, pattern, missing);
  }
  return true;
}

}  // namespace migration
