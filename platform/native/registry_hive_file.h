// A hive's file on the host: loaded once, written back whole and atomically.
#pragma once

#include <filesystem>
#include <memory>
#include <string_view>

#include "platform/status.h"
#include "registry_hive.h"

namespace platform {

// A missing file gives an empty hive whose comment line names `relativeTo`. A file that cannot
// be read gives ERROR_CANTREAD, one that is no registry file ERROR_BADDB.
Result<std::unique_ptr<RegistryHive>> loadRegistryHiveFile(const std::filesystem::path& path,
                                                           std::string_view relativeTo,
                                                           FileTime now);

// Writes the hive to a temporary file in the same folder, flushes it to the disk and renames it
// over `path`, so that a reader sees the old file or the new one, never a part. ERROR_CANTWRITE
// (or ERROR_DISK_FULL) when that fails; the old file is then untouched.
Status saveRegistryHiveFile(const std::filesystem::path& path, const RegistryHive& hive);

}  // namespace platform
