// Whole reads and range copies over the platform's files, the building blocks of every pass
// that reads or rewrites an archive.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/file_system.h"

namespace parcelon {

// An archive that ends before the record being read does.
inline constexpr platform::Status kShortRead = platform::ERROR_HANDLE_EOF;

// Reads exactly `count` bytes: kShortRead at the end of the file, or the read's own status.
[[nodiscard]] platform::Status readExact(platform::File& file, void* buffer, std::size_t count);

[[nodiscard]] platform::Status readExactAt(platform::File& file, std::uint64_t position,
                                           void* buffer, std::size_t count);

// Copies `count` bytes from the current position of `source` to the end of `target`.
[[nodiscard]] platform::Status copyBytes(platform::File& source, platform::File& target,
                                         std::uint64_t count);

// Copies `count` bytes starting at `position` of `source` to the end of `target`.
[[nodiscard]] platform::Status copyBytesAt(platform::File& source, std::uint64_t position,
                                           std::uint64_t count, platform::File& target);

}  // namespace parcelon
