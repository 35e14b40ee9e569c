// The shell's helper object on the native machine: imports a bookmark file into the Favorites
// folder that HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders names.
#pragma once

#include <string>

#include "favorites_import.h"
#include "platform/file_system.h"
#include "platform/registry.h"
#include "platform/shell_ui_helper.h"

namespace platform {

class NativeShellUIHelper final : public ShellUIHelper {
 public:
  // `files` and `registry` must outlive this object.
  NativeShellUIHelper(FileSystem& files, Registry& registry);

  // Besides a file's own status: ERROR_BAD_FORMAT when it is no bookmark file,
  // ERROR_PATH_NOT_FOUND when the user has no Favorites folder (it is made when only its last
  // level is missing), and the first entry's status that could not be written (what could be
  // written stays).
  Status ImportExportFavorites(bool import, const std::string& path) override;

  // What the last import did, entry by entry, for logs and tests.
  const FavoritesImportOutcome& lastImport() const { return m_lastImport; }

 private:
  Result<std::string> favoritesFolder();

  FileSystem& m_files;
  Registry& m_registry;
  FavoritesImportOutcome m_lastImport;
};

}  // namespace platform
