#include "zip64_records.h"

#include <array>

#include "archive_io.h"
#include "little_endian.h"

namespace parcelon {
namespace {

constexpr std::uint16_t kNo16 = 0xFFFF;
constexpr std::uint32_t kNo32 = 0xFFFFFFFF;

}  // namespace

bool hasZip64Locator(platform::File& file, std::uint64_t endPosition) {
  if (endPosition < kZip64LocatorSize) return false;
  std::array<std::uint8_t, 4> signature{};
  if (readExactAt(file, endPosition - kZip64LocatorSize, signature.data(), signature.size())
          .failed()) {
    return false;
  }
  return get32(signature.data()) == kZip64LocatorSignature;
}

bool endRecordNeedsZip64(const EndRecord& end) {
  return end.diskNumber == kNo16 || end.centralDisk == kNo16 || end.centralSize == kNo32 ||
         end.centralOffset == kNo32;
}

bool centralHeaderNeedsZip64(const CentralHeader& header) {
  return header.compressedSize == kNo32 || header.uncompressedSize == kNo32 ||
         header.localOffset == kNo32 || header.diskStart == kNo16;
}

bool localHeaderNeedsZip64(const LocalHeader& header) {
  if ((header.flags & kFlagDataDescriptor) != 0) return false;
  return header.compressedSize == kNo32 || header.uncompressedSize == kNo32;
}

bool localHeaderNeedsZip64(platform::File& file, std::uint64_t position) {
  LocalHeader::Bytes bytes{};
  if (readExactAt(file, position, bytes.data(), bytes.size()).failed()) return false;
  return localHeaderNeedsZip64(LocalHeader::decode(bytes.data()));
}

}  // namespace parcelon
