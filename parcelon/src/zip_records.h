// The fixed parts of the three archive records: local file header, central directory file
// header and end-of-central-directory record.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace parcelon {

inline constexpr std::uint32_t kLocalSignature = 0x04034B50;
inline constexpr std::uint32_t kCentralSignature = 0x02014B50;
inline constexpr std::uint32_t kEndSignature = 0x06054B50;
inline constexpr std::uint32_t kDescriptorSignature = 0x08074B50;

inline constexpr std::size_t kLocalHeaderSize = 30;
inline constexpr std::size_t kCentralHeaderSize = 46;
inline constexpr std::size_t kEndRecordSize = 22;

inline constexpr std::uint16_t kFlagEncrypted = 0x0001;
inline constexpr std::uint16_t kFlagDataDescriptor = 0x0008;
// The language encoding flag: name and comment are UTF-8.
inline constexpr std::uint16_t kFlagUtf8Text = 0x0800;

inline constexpr std::uint16_t kMethodStored = 0;
inline constexpr std::uint16_t kMethodDeflated = 8;

// Offset of the CRC-32 in a local header; the writer patches CRC and sizes there.
inline constexpr std::size_t kLocalCrcOffset = 14;
// The traditional encryption header in front of an encrypted entry's data.
inline constexpr std::uint32_t kEncryptionHeaderSize = 12;

struct LocalHeader {
  std::uint32_t signature = kLocalSignature;
  std::uint16_t versionNeeded = 0;
  std::uint16_t flags = 0;
  std::uint16_t method = 0;
  std::uint16_t dosTime = 0;
  std::uint16_t dosDate = 0;
  std::uint32_t crc = 0;
  std::uint32_t compressedSize = 0;
  std::uint32_t uncompressedSize = 0;
  std::uint16_t nameLength = 0;
  std::uint16_t extraLength = 0;

  using Bytes = std::array<std::uint8_t, kLocalHeaderSize>;
  static LocalHeader decode(const std::uint8_t* bytes);
  Bytes encode() const;
  // The header with its name and extra field: where the entry's data starts.
  std::uint64_t headerLength() const { return kLocalHeaderSize + nameLength + extraLength; }
};

struct CentralHeader {
  std::uint32_t signature = kCentralSignature;
  std::uint16_t versionMadeBy = 0;
  std::uint16_t versionNeeded = 0;
  std::uint16_t flags = 0;
  std::uint16_t method = 0;
  std::uint16_t dosTime = 0;
  std::uint16_t dosDate = 0;
  std::uint32_t crc = 0;
  std::uint32_t compressedSize = 0;
  std::uint32_t uncompressedSize = 0;
  std::uint16_t nameLength = 0;
  std::uint16_t extraLength = 0;
  std::uint16_t commentLength = 0;
  std::uint16_t diskStart = 0;
  std::uint16_t internalAttributes = 0;
  std::uint32_t externalAttributes = 0;
  std::uint32_t localOffset = 0;

  using Bytes = std::array<std::uint8_t, kCentralHeaderSize>;
  static CentralHeader decode(const std::uint8_t* bytes);
  Bytes encode() const;
  // The whole record: fixed part, name, extra field and comment.
  std::uint64_t recordLength() const {
    return kCentralHeaderSize + nameLength + extraLength + commentLength;
  }
  bool encrypted() const { return (flags & kFlagEncrypted) != 0; }
};

struct EndRecord {
  std::uint32_t signature = kEndSignature;
  std::uint16_t diskNumber = 0;
  std::uint16_t centralDisk = 0;
  std::uint16_t entriesOnDisk = 0;
  std::uint16_t totalEntries = 0;
  std::uint32_t centralSize = 0;
  std::uint32_t centralOffset = 0;
  std::uint16_t commentLength = 0;

  using Bytes = std::array<std::uint8_t, kEndRecordSize>;
  static EndRecord decode(const std::uint8_t* bytes);
  Bytes encode() const;
};

}  // namespace parcelon
