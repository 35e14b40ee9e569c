// Rewrites an archive without the entries of one name.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/file_system.h"

namespace parcelon {

// Removes every entry whose name matches `name` without regard to the case of ASCII letters
// and returns how many were removed. With no match the archive is not touched. The result is
// written beside the archive and renamed over it, so a failure leaves the archive as it was;
// archives with records between the central directory and the end record are refused with
// platform::ERROR_BAD_FORMAT.
platform::Result<std::uint32_t> removeEntries(platform::FileSystem& files,
                                              const std::string& archive, std::string_view name);

}  // namespace parcelon
