// File attributes as Wine keeps them on the host: READONLY from the write bits, HIDDEN and
// SYSTEM from the extended attribute user.DOSATTRIB ("0x6"), dot-files hidden.
#pragma once

#include <sys/stat.h>

#include <cstdint>
#include <filesystem>

#include "platform/status.h"

namespace platform {

std::uint32_t readDosAttributes(const std::filesystem::path& host, const struct stat& info);

// Sets READONLY, HIDDEN and SYSTEM as given; other bits are ignored. READONLY applies to files
// only, as Wine ignores it for folders.
Status writeDosAttributes(const std::filesystem::path& host, std::uint32_t attributes);

bool isReadOnly(const struct stat& info);

}  // namespace platform
