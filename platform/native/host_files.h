// File operations on host paths that the native file system builds its Windows semantics on.
// Nothing here knows about drives or Windows names.
#pragma once

#include <sys/stat.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace platform {

class FolderIndex;

// The entry of `folder` that the ANSI `name` names: the exact name first, then the first entry
// equal to it without regard to case. Empty when there is none. This scans the folder; lookups
// that may meet full folders go through a FolderIndex.
std::filesystem::path findHostEntry(const std::filesystem::path& folder, const std::string& name);

// Where `source` lands when it is copied into `folder`: the entry there that its ANSI `name`
// names in any case (Windows replaces that one), else a new entry under the source's host name.
std::filesystem::path copyTargetIn(FolderIndex& names, const std::filesystem::path& folder,
                                   const std::string& name, const std::filesystem::path& source);

// stat() of a path, or lstat() of a link whose target is gone.
std::optional<struct stat> statHost(const std::filesystem::path& path);
bool isHostFolder(const std::filesystem::path& path);
bool isSameHostFile(const std::filesystem::path& a, const std::filesystem::path& b);
// True when `inner` is `outer` or lies below it (both resolved through links).
bool isInsideHostFolder(const std::filesystem::path& inner, const std::filesystem::path& outer);

struct HostEntry {
  std::filesystem::path host;
  DirectoryEntry entry;  // the name in ANSI
  bool isFolder() const { return (entry.attributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }
};

// The entries of a folder (files, folders, links), without "." and "..", as Windows would sort
// them: by name without regard to case. With `wanted`, only the entries it accepts, and the
// others are never looked at beyond their names.
Result<std::vector<HostEntry>> listHostFolder(const std::filesystem::path& folder,
                                              const EntryFilter& wanted = {});

std::optional<HostEntry> hostEntry(const std::filesystem::path& path);

// Copies one file with its contents, times and attributes. An existing target is replaced only
// with Overwrite::Yes and never when it is read-only, a folder or the source itself. The copy
// is written under a temporary name and renamed into place, so a failed copy leaves any old
// target whole.
Status copyHostFile(const std::filesystem::path& source, const std::filesystem::path& target,
                    Overwrite overwrite);

// Copies a folder's contents into `target` (created when missing, merged when present).
// Existing files are replaced only with Overwrite::Yes, never when read-only. Stops at the
// first failure.
Status copyHostTree(FolderIndex& names, const std::filesystem::path& source,
                    const std::filesystem::path& target, Overwrite overwrite);

// True when a file below `folder` is read-only, so that a delete without Force can refuse
// before it removes anything.
bool hostTreeHasReadOnlyFile(const std::filesystem::path& folder);
// Removes a folder with everything below it; links are removed, never followed (a link to a
// folder given as `folder` is removed itself).
Status removeHostTree(const std::filesystem::path& folder);

}  // namespace platform
