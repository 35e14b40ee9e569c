// The shell's user-interface helper object; the program uses its favorites import.
#pragma once

#include <string>

#include "platform/status.h"

namespace platform {

class ShellUIHelper {
 public:
  virtual ~ShellUIHelper() = default;

  // ImportExportFavorites. With `import` true, reads the Netscape bookmark file at `path` into
  // the user's Favorites folder: its folders become folders and its links `title.url` files;
  // links to local files are passed over. A file that is missing or cannot be read, or is no
  // bookmark file, gives its status and changes nothing. Export is not offered
  // (ERROR_NOT_SUPPORTED).
  virtual Status ImportExportFavorites(bool import, const std::string& path) = 0;
};

}  // namespace platform
