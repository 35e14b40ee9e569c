#include "restore/archive_catalogue.h"

#include <zlib.h>

#include <algorithm>
#include <memory>

namespace migration {

namespace {

constexpr std::uint32_t kEndSignature = 0x06054b50;
constexpr std::uint32_t kCentralSignature = 0x02014b50;
constexpr std::size_t kEndRecordSize = 22;
constexpr std::size_t kCentralHeaderSize = 46;
constexpr std::size_t kLongestComment = 0xFFFF;
constexpr std::size_t kChunk = 256 * 1024;

std::uint32_t readLe(const std::string& bytes, std::size_t at, std::size_t width) {
  std::uint32_t value = 0;
  for (std::size_t i = width; i-- > 0;) {
    value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
  }
  return value;
}

platform::Result<std::string> readAt(platform::File& file, std::uint64_t position,
                                     std::size_t count) {
  if (const platform::Status sought = file.seek(position); sought.failed()) {
    return platform::Result<std::string>::failure(sought);
  }
  std::string bytes(count, '\0');
  std::size_t done = 0;
  while (done < count) {
    auto read = file.read(bytes.data() + done, count - done);
    if (!read) return read.failureAs<std::string>();
    if (*read == 0) return platform::Result<std::string>::failure(platform::ERROR_HANDLE_EOF);
    done += *read;
  }
  return bytes;
}

struct CentralDirectory {
  std::uint64_t offset = 0;
  std::size_t size = 0;
  std::size_t entries = 0;
};

// The end record: the last place in the file's tail whose signature is followed by a comment that
// ends exactly at the end of the file.
platform::Result<CentralDirectory> findCentralDirectory(platform::File& file,
                                                        std::uint64_t fileSize) {
  using Answer = platform::Result<CentralDirectory>;
  if (fileSize < kEndRecordSize) return Answer::failure(platform::ERROR_BAD_FORMAT);
  const std::uint64_t tailSize =
      std::min<std::uint64_t>(fileSize, kEndRecordSize + kLongestComment);
  auto tail = readAt(file, fileSize - tailSize, static_cast<std::size_t>(tailSize));
  if (!tail) return tail.failureAs<CentralDirectory>();
  for (std::size_t at = tail->size() - kEndRecordSize + 1; at-- > 0;) {
    if (readLe(*tail, at, 4) != kEndSignature) continue;
    if (at + kEndRecordSize + readLe(*tail, at + 20, 2) != tail->size()) continue;
    const std::uint32_t entries = readLe(*tail, at + 10, 2);
    const std::uint32_t size = readLe(*tail, at + 12, 4);
    const std::uint32_t offset = readLe(*tail, at + 16, 4);
    if (entries == 0xFFFF || size == 0xFFFFFFFF || offset == 0xFFFFFFFF) {
      return Answer::failure(platform::ERROR_NOT_SUPPORTED);
    }
    if (std::uint64_t{offset} + size > fileSize) return Answer::failure(platform::ERROR_BAD_FORMAT);
    return CentralDirectory{offset, size, entries};
  }
  return Answer::failure(platform::ERROR_BAD_FORMAT);
}

platform::Result<std::vector<CatalogueEntry>> parseDirectory(const std::string& bytes,
                                                             std::size_t expected) {
  using Answer = platform::Result<std::vector<CatalogueEntry>>;
  std::vector<CatalogueEntry> entries;
  entries.reserve(expected);
  std::size_t at = 0;
  while (entries.size() < expected) {
    if (at + kCentralHeaderSize > bytes.size() || readLe(bytes, at, 4) != kCentralSignature) {
      return Answer::failure(platform::ERROR_BAD_FORMAT);
    }
    const std::size_t nameLength = readLe(bytes, at + 28, 2);
    const std::size_t extraLength = readLe(bytes, at + 30, 2);
    const std::size_t commentLength = readLe(bytes, at + 32, 2);
    const std::size_t next = at + kCentralHeaderSize + nameLength + extraLength + commentLength;
    if (next > bytes.size()) return Answer::failure(platform::ERROR_BAD_FORMAT);
    CatalogueEntry entry;
    entry.crc = readLe(bytes, at + 16, 4);
    entry.size = readLe(bytes, at + 24, 4);
    entry.name = bytes.substr(at + kCentralHeaderSize, nameLength);
    entries.push_back(std::move(entry));
    at = next;
  }
  return entries;
}

}  // namespace

platform::Result<std::vector<CatalogueEntry>> ReadArchiveCatalogue(platform::FileSystem& files,
                                                                   const std::string& path) {
  using Answer = platform::Result<std::vector<CatalogueEntry>>;
  auto opened = files.openFile(path, platform::OpenMode::Read);
  if (!opened) return Answer::failure(opened.status(), path);
  platform::File& file = **opened;
  auto size = file.size();
  if (!size) return Answer::failure(size.status(), path);
  auto directory = findCentralDirectory(file, *size);
  if (!directory) return Answer::failure(directory.status(), path);
  auto bytes = readAt(file, directory->offset, directory->size);
  if (!bytes) return Answer::failure(bytes.status(), path);
  return parseDirectory(*bytes, directory->entries);
}

platform::Result<std::uint32_t> FileCrc32(platform::FileSystem& files, const std::string& path) {
  using Answer = platform::Result<std::uint32_t>;
  auto opened = files.openFile(path, platform::OpenMode::Read);
  if (!opened) return Answer::failure(opened.status(), path);
  const auto buffer = std::make_unique<unsigned char[]>(kChunk);
  uLong crc = crc32(0L, Z_NULL, 0);
  for (;;) {
    auto read = (*opened)->read(buffer.get(), kChunk);
    if (!read) return Answer::failure(read.status(), path);
    if (*read == 0) break;
    crc = crc32(crc, buffer.get(), static_cast<uInt>(*read));
  }
  return static_cast<std::uint32_t>(crc);
}

}  // namespace migration
