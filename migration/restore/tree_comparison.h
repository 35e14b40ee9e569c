// Whether a copy of a folder tree is complete: the files of the source, at every level, that the
// target lacks or holds with another size. The restore asks it before it deletes the source of a
// move or a left-over folder, and to report whether copied favorites arrived.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace migration {

// Hidden and system entries count, or are left out as the favorites copy leaves them out.
enum class HiddenEntries { Count, LeaveOut };

struct TreeFile {
  std::string relativePath;  // "Sub\x.url"
  std::uint64_t size = 0;
};

// Every file below `folder`, in listing order. A level that cannot be listed is given as one
// entry naming that level ("." for the top), so that it is never taken for an empty one.
std::vector<TreeFile> FilesInTree(platform::FileSystem& files, const std::string& folder,
                                  HiddenEntries hidden);

// The files of `source` (relative paths) whose copy under `target` is missing or has another
// size.
std::vector<std::string> FilesNotCopied(platform::FileSystem& files, const std::string& source,
                                        const std::string& target, HiddenEntries hidden);

}  // namespace migration
