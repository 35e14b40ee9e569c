// Turns a one-entry archive this component wrote into the same archive with its entry
// encrypted by the traditional encryption.
#pragma once

#include <string>
#include <string_view>

#include "platform/file_system.h"
#include "random_source.h"
#include "zip_writer.h"

namespace parcelon {

// Writes `target` (created or truncated). On failure the target is left for the caller to
// delete; the source is never changed.
[[nodiscard]] platform::Status encryptArchive(platform::FileSystem& files,
                                              const std::string& source, const std::string& target,
                                              std::string_view password, RandomSource& random,
                                              ArchiveLimits limits = {});

}  // namespace parcelon
