// Appends the single entry of a one-entry archive to an existing archive.
#pragma once

#include <string>

#include "platform/file_system.h"
#include "zip_writer.h"

namespace parcelon {

// The result is written beside `archive` and renamed over it, so a failure leaves the archive as
// it was. Refused with platform::ERROR_BAD_FORMAT: archives with records between the central directory and
// the end record, and additions that are not one entry with its sizes in the local header;
// with platform::ERROR_FILE_TOO_LARGE: a result that the records' counts and offsets cannot hold.
[[nodiscard]] platform::Status mergeArchive(platform::FileSystem& files, const std::string& archive,
                                            const std::string& addition, ArchiveLimits limits = {});

}  // namespace parcelon
