// Recognises the ZIP64 records and fields of an archive. The component reads only the 32-bit
// records: an archive or entry that needs its ZIP64 values to be read rightly is refused, since
// its 16- and 32-bit fields hold placeholders (0xFFFF, 0xFFFFFFFF) instead of counts, sizes and
// offsets.
#pragma once

#include <cstdint>

#include "platform/file_system.h"
#include "zip_records.h"

namespace parcelon {

inline constexpr std::uint32_t kZip64LocatorSignature = 0x07064B50;
inline constexpr std::size_t kZip64LocatorSize = 20;

// A ZIP64 end-of-central-directory locator right in front of the end record: the end record's
// values are then only the fallback of the ZIP64 end record.
bool hasZip64Locator(platform::File& file, std::uint64_t endPosition);

// The end record defers a count, size or offset to a ZIP64 end record.
bool endRecordNeedsZip64(const EndRecord& end);

// The entry's size, offset or disk field is a placeholder for a ZIP64 extra field's value.
bool centralHeaderNeedsZip64(const CentralHeader& header);
// The local header's sizes are placeholders for a ZIP64 extra field. A ZIP64 extra field whose
// values stand in no placeholder changes nothing, and neither do sizes that a data descriptor
// gives: such entries are read by their central header.
bool localHeaderNeedsZip64(const LocalHeader& header);
// The same for the local header at `position` of the file; one that cannot be read is left to
// the entry's reader to report.
bool localHeaderNeedsZip64(platform::File& file, std::uint64_t position);

}  // namespace parcelon
