// The table of contents of a zip archive (name, size and CRC-32 of each entry, from its central
// directory) and the CRC-32 of a file: what the restore report compares the restored files with.
//
// The program extracts through its zip component and nothing else; this reads only the central
// directory, itself, so that a fault in the component's extraction cannot vouch for itself.
// Archives that need the zip64 records (more than 65,535 entries or 4 GiB) are not read here.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace migration {

struct CatalogueEntry {
  std::string name;  // as stored, "/" between folders
  std::uint64_t size = 0;
  std::uint32_t crc = 0;
};

// ERROR_BAD_FORMAT when no central directory can be found or it is damaged; ERROR_NOT_SUPPORTED
// for zip64 archives; the platform's status when the file cannot be read.
platform::Result<std::vector<CatalogueEntry>> ReadArchiveCatalogue(platform::FileSystem& files,
                                                                   const std::string& path);

// The CRC-32 of a file's content, as zip archives record it.
platform::Result<std::uint32_t> FileCrc32(platform::FileSystem& files, const std::string& path);

}  // namespace migration
