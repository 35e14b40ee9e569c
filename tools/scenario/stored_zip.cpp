#include "stored_zip.h"

#include <zlib.h>

#include <cstdint>

namespace scenario {

namespace {

// 1 June 2001, 04:00:00, as DOS keeps times.
constexpr std::uint16_t kDosTime = 4 << 11;
constexpr std::uint16_t kDosDate = ((2001 - 1980) << 9) | (6 << 5) | 1;

void put(std::string& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

// The fields a local header and a central header share, from "version needed" on.
void putCommon(std::string& out, const std::string& name, const std::string& content,
               std::uint32_t crc) {
  put(out, 10, 2);  // version needed
  put(out, 0, 2);   // flags
  put(out, 0, 2);   // stored
  put(out, kDosTime, 2);
  put(out, kDosDate, 2);
  put(out, crc, 4);
  put(out, static_cast<std::uint32_t>(content.size()), 4);
  put(out, static_cast<std::uint32_t>(content.size()), 4);
  put(out, static_cast<std::uint32_t>(name.size()), 2);
  put(out, 0, 2);  // extra field
}

}  // namespace

std::string StoredZip(const std::vector<std::pair<std::string, std::string>>& entries) {
  std::string archive;
  std::string directory;
  for (const auto& [name, content] : entries) {
    const auto crc = static_cast<std::uint32_t>(crc32(
        0, reinterpret_cast<const Bytef*>(content.data()), static_cast<uInt>(content.size())));
    const auto offset = static_cast<std::uint32_t>(archive.size());
    put(archive, 0x04034b50, 4);
    putCommon(archive, name, content, crc);
    archive += name;
    archive += content;

    put(directory, 0x02014b50, 4);
    put(directory, 20, 2);  // made by
    putCommon(directory, name, content, crc);
    put(directory, 0, 2);     // comment
    put(directory, 0, 2);     // disk
    put(directory, 0, 2);     // internal attributes
    put(directory, 0x20, 4);  // archive attribute
    put(directory, offset, 4);
    directory += name;
  }
  const auto directoryOffset = static_cast<std::uint32_t>(archive.size());
  archive += directory;
  put(archive, 0x06054b50, 4);
  put(archive, 0, 2);
  put(archive, 0, 2);
  put(archive, static_cast<std::uint32_t>(entries.size()), 2);
  put(archive, static_cast<std::uint32_t>(entries.size()), 2);
  put(archive, static_cast<std::uint32_t>(directory.size()), 4);
  put(archive, directoryOffset, 4);
  put(archive, 0, 2);
  return archive;
}

}  // namespace scenario
