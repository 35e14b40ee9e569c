// Puts the folders and links of a bookmark file into a Favorites folder, as the shell's import
// does: a folder for each folder, a file "title.url" ([InternetShortcut] then URL=..., CR LF)
// for each link. Works only through the FileSystem interface, so it serves every backend.
//
// Nothing is written outside the Favorites folder and nothing there is overwritten: titles
// become names Windows can keep (characters it forbids become '_', trailing dots and blanks go,
// device names such as CON get a '_' in front, long titles are cut); a folder that exists
// already is filled further; a shortcut already there with the same address is left as it is,
// and a name taken by anything else is numbered ("title (2).url"). Links to local files and
// links without an address are passed over.
#pragma once

#include <string>
#include <vector>

#include "bookmark_file.h"
#include "platform/file_system.h"

namespace platform {

struct FavoritesImportOutcome {
  int foldersCreated = 0;
  int linksWritten = 0;
  int linksPresent = 0;  // the same shortcut was there already
  int linksSkipped = 0;  // local files and links without an address
  // The first entry that could not be written (ERROR_SUCCESS when none); the import goes on.
  Status firstFailure = ERROR_SUCCESS;
  std::vector<std::string> problems;  // "line 12: ...", for logs
};

// `favorites` is an existing folder.
FavoritesImportOutcome importFavorites(FileSystem& files, const std::string& favorites,
                                       const BookmarkFile& bookmarks);

// The name Windows can keep for a title; `fallback` when nothing of the title is left.
std::string favoriteName(const std::string& title, const std::string& fallback);

}  // namespace platform
