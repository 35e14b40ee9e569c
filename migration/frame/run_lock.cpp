#include "frame/run_lock.h"

#include "context/migration_dirs.h"
#include "context/program.h"
#include "forms/dir_list_box.h"
#include "platform/blanks.h"

namespace migration {

namespace {

// The folder a path lies in, keeping a drive's root ("C:\Migration" gives "C:\").
std::string parentFolder(const std::string& path) {
  const std::size_t separator = path.find_last_of('\\');
  if (separator == std::string::npos) return {};
  if (separator == 2 && path[1] == ':') return path.substr(0, 3);
  return path.substr(0, separator);
}

}  // namespace

RunLock::Scope::Scope(RunLock& lock, const std::string& directory) : m_lock(lock) {
  if (m_lock.m_holding) {
    m_held = true;
    return;
  }
  m_held = m_lock.take(directory);
  m_took = m_held;
}

RunLock::Scope::~Scope() {
  if (!m_took) return;
  m_lock.m_held.reset();
  m_lock.m_holding = false;
}

std::string RunLock::directoryOfMasterFile(const std::string& masterFilePath) {
  return parentFolder(parentFolder(masterFilePath));
}

bool RunLock::take(const std::string& directory) {
  RunLog& log = m_program.runLog();
  m_holding = true;
  const std::string folder(platform::trimmed(directory, " "));
  if (folder.empty()) return true;
  const std::string path = forms::joinPath(folder, kFileName);
  auto locked = m_program.files().lockFile(path);
  if (locked) {
    m_held = std::move(*locked);
    return true;
  }
  if (locked.status() == platform::ERROR_SHARING_VIOLATION) {
    m_holding = false;
    refuse(folder);
    return false;
  }
  // A directory that is missing, or on a medium that cannot be written (a restore from a
  // CD-ROM), holds no lock file; the run itself says what it cannot do there.
  log.note("the migration directory " + folder + " was not locked (" +
           RunLog::describe(locked.status(), path) + "); the run goes on without the lock");
  return true;
}

void RunLock::refuse(const std::string& directory) {
  RunLog& log = m_program.runLog();
  const std::string migrationDir = MigrationDirectoryOf(directory);
  // The refusal belongs in the log of the directory it concerns.
  if (!log.hasFolder() && m_program.files().folderExists(migrationDir)) {
    log.setFolder(migrationDir);
  }
  const std::string text = "Another migration run is using the directory " + directory +
                           ".\r\nNothing was changed. Start this one again when that run has "
                           "finished.";
  log.failure("Migration Directory In Use: another run holds " + directory +
              "; nothing was changed");
  const SessionContext& session = m_program.session;
  if (session.bAutoMode || session.bRestoreMode) return;
  m_program.msgBox(text, forms::MsgButtons::OK, forms::MsgIcon::Exclamation,
                   "Migration Directory In Use");
}

}  // namespace migration
