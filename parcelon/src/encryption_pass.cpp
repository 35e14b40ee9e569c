#include "encryption_pass.h"

#include <algorithm>
#include <array>
#include <vector>

#include "archive_io.h"
#include "traditional_cipher.h"

namespace parcelon {
namespace {

constexpr std::size_t kChunkSize = 64 * 1024;
constexpr std::size_t kRandomHeaderBytes = 10;

// Ten random bytes, themselves encrypted once so that a weak random source shows less, then
// the two top bytes of the CRC-32, all encrypted with fresh keys.
std::array<std::uint8_t, kEncryptionHeaderSize> encryptionHeader(std::string_view password,
                                                                 std::uint32_t crc,
                                                                 RandomSource& random) {
  std::array<std::uint8_t, kEncryptionHeaderSize> header{};
  TraditionalCipher scrambler(password);
  for (std::size_t i = 0; i < kRandomHeaderBytes; ++i) {
    header[i] = scrambler.encrypt(static_cast<std::uint8_t>((random.next() >> 7) & 0xFF));
  }
  header[10] = static_cast<std::uint8_t>(crc >> 16);
  header[11] = static_cast<std::uint8_t>(crc >> 24);
  return header;
}

platform::Status encryptData(platform::File& source, platform::File& target, std::uint64_t count,
                             TraditionalCipher& cipher) {
  std::vector<std::uint8_t> buffer(kChunkSize);
  while (count > 0) {
    const auto chunk = static_cast<std::size_t>(std::min<std::uint64_t>(count, buffer.size()));
    RETURN_IF_FAILED(readExact(source, buffer.data(), chunk));
    cipher.encrypt(buffer.data(), chunk);
    RETURN_IF_FAILED(target.write(buffer.data(), chunk));
    count -= chunk;
  }
  return platform::ERROR_SUCCESS;
}

platform::Status copyLocalEntry(platform::File& source, platform::File& target,
                                std::string_view password, RandomSource& random,
                                const ArchiveLimits& limits) {
  LocalHeader::Bytes bytes{};
  RETURN_IF_FAILED(readExact(source, bytes.data(), bytes.size()));
  LocalHeader local = LocalHeader::decode(bytes.data());
  if (local.signature != kLocalSignature || (local.flags & kFlagDataDescriptor) != 0) {
    return platform::ERROR_BAD_FORMAT;
  }
  const std::uint64_t dataSize = local.compressedSize;
  if (dataSize + kEncryptionHeaderSize > limits.maxSize) return platform::ERROR_FILE_TOO_LARGE;
  local.flags |= kFlagEncrypted;
  local.compressedSize += kEncryptionHeaderSize;
  const auto encoded = local.encode();
  RETURN_IF_FAILED(target.write(encoded.data(), encoded.size()));
  RETURN_IF_FAILED(copyBytes(source, target, local.nameLength + local.extraLength));
  TraditionalCipher cipher(password);
  auto header = encryptionHeader(password, local.crc, random);
  cipher.encrypt(header.data(), header.size());
  RETURN_IF_FAILED(target.write(header.data(), header.size()));
  return encryptData(source, target, dataSize, cipher);
}

platform::Status copyCentralHeader(platform::File& source, platform::File& target) {
  CentralHeader::Bytes bytes{};
  RETURN_IF_FAILED(readExact(source, bytes.data(), bytes.size()));
  CentralHeader central = CentralHeader::decode(bytes.data());
  if (central.signature != kCentralSignature) return platform::ERROR_BAD_FORMAT;
  central.flags |= kFlagEncrypted;
  central.compressedSize += kEncryptionHeaderSize;
  const auto encoded = central.encode();
  RETURN_IF_FAILED(target.write(encoded.data(), encoded.size()));
  return copyBytes(source, target, central.recordLength() - kCentralHeaderSize);
}

platform::Status copyEndRecord(platform::File& source, platform::File& target) {
  EndRecord::Bytes bytes{};
  RETURN_IF_FAILED(readExact(source, bytes.data(), bytes.size()));
  EndRecord end = EndRecord::decode(bytes.data());
  if (end.signature != kEndSignature || end.totalEntries != 1) return platform::ERROR_BAD_FORMAT;
  end.centralOffset += kEncryptionHeaderSize;
  const auto encoded = end.encode();
  RETURN_IF_FAILED(target.write(encoded.data(), encoded.size()));
  return copyBytes(source, target, end.commentLength);
}

}  // namespace

platform::Status encryptArchive(platform::FileSystem& files, const std::string& source,
                                const std::string& target, std::string_view password,
                                RandomSource& random, ArchiveLimits limits) {
  auto input = files.openFile(source, platform::OpenMode::Read);
  if (!input) return input.status();
  auto output = files.openFile(target, platform::OpenMode::CreateTruncate);
  if (!output) return output.status();
  platform::Status status = copyLocalEntry(**input, **output, password, random, limits);
  if (status.ok()) status = copyCentralHeader(**input, **output);
  if (status.ok()) status = copyEndRecord(**input, **output);
  const auto closed = (*output)->close();
  return status.failed() ? status : closed;
}

}  // namespace parcelon
