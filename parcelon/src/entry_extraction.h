// ExtractFile: writes one entry of an open archive to a file.
#pragma once

#include <cstdint>
#include <string>

#include "outcome.h"
#include "platform/file_system.h"
#include "status_sink.h"
#include "zip_reader.h"

namespace parcelon {

// The entry `name` (found without regard to ASCII case) goes to the first of: `path` as a file
// name, `path` + "\" + name, `path` + name, whose folder exists. The data is written to a
// fresh file beside the target and renamed over it only when it is complete and its CRC-32 is
// right, so a failure never leaves a partial file nor harms a file that was there.
// Raised: NotFound, WrongPassword, NoPassword, ReadError, FormatError (also for a name that
// would leave the folder). Results: 0, kReaderBadArchive or kReaderNoMemory when the entry
// cannot be opened, kReaderIoError when no target can be written.
Outcome<std::int32_t> extractEntry(platform::FileSystem& files, ZipReader& reader,
                                   const std::string& name, const std::string& path,
                                   const std::string& password, const StatusSink& status);

}  // namespace parcelon
