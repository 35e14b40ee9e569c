#include "native_shell_ui_helper.h"

#include "bookmark_file.h"
#include "platform/text_file.h"
#include "registry_values.h"

namespace platform {
namespace {

constexpr const char* kShellFoldersKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

}  // namespace

NativeShellUIHelper::NativeShellUIHelper(FileSystem& files, Registry& registry)
    : m_files(files), m_registry(registry) {}

Result<std::string> NativeShellUIHelper::favoritesFolder() {
  std::string folder =
      readStringValue(m_registry, HKEY_CURRENT_USER, kShellFoldersKey, "Favorites").value_or("");
  while (folder.size() > 3 && folder.back() == '\\') folder.pop_back();
  if (folder.empty()) return Result<std::string>::failure(ERROR_PATH_NOT_FOUND, "Favorites");
  if (!m_files.folderExists(folder)) {
    // The shell makes the user's own folder on first use, but never the profile around it.
    const Status made = m_files.createFolder(folder);
    if (made.failed()) return Result<std::string>::failure(made, folder);
  }
  return folder;
}

Status NativeShellUIHelper::ImportExportFavorites(bool import, const std::string& path) {
  m_lastImport = {};
  if (!import) return ERROR_NOT_SUPPORTED;
  // Everything is read and checked before the first folder is made.
  const auto bytes = readWholeFile(m_files, path);
  if (!bytes) return bytes.status();
  const BookmarkFile bookmarks = parseBookmarkFile(*bytes);
  if (!bookmarks.recognised) return ERROR_BAD_FORMAT;
  const auto favorites = favoritesFolder();
  if (!favorites) return favorites.status();
  m_lastImport = importFavorites(m_files, *favorites, bookmarks);
  m_lastImport.problems.insert(m_lastImport.problems.begin(), bookmarks.problems.begin(),
                               bookmarks.problems.end());
  return m_lastImport.firstFailure;
}

}  // namespace platform
