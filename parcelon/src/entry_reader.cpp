#include "entry_reader.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <new>

#include "archive_io.h"
#include "reader_code.h"

namespace parcelon {
namespace {

bool localMatchesCentral(const LocalHeader& local, const CentralHeader& central) {
  if (local.signature != kLocalSignature || local.method != central.method ||
      (local.method != kMethodStored && local.method != kMethodDeflated) ||
      local.nameLength != central.nameLength) {
    return false;
  }
  if ((local.flags & kFlagDataDescriptor) != 0) return true;
  return local.crc == central.crc && local.compressedSize == central.compressedSize &&
         local.uncompressedSize == central.uncompressedSize;
}

// The byte that the last decrypted header byte must equal. Entries whose sizes follow the data
// in a descriptor cannot know their CRC when the header is written, so their writers put the
// high byte of the DOS time there instead.
std::uint8_t passwordCheckByte(const LocalHeader& local) {
  if ((local.flags & kFlagDataDescriptor) != 0)
    return static_cast<std::uint8_t>(local.dosTime >> 8);
  return static_cast<std::uint8_t>(local.crc >> 24);
}

}  // namespace

EntryReader::EntryReader(platform::File& file, std::vector<std::uint8_t>& input,
                         const CentralHeader& entry, std::uint64_t dataPosition)
    : m_file(file), m_input(input), m_entry(entry), m_dataPosition(dataPosition) {}

int EntryReader::open(ZipReader& reader, std::string_view password,
                      std::unique_ptr<EntryReader>& result) {
  result.reset();
  if (!reader.entryValid()) return kReaderBadArchive;
  const CentralHeader& entry = reader.entry();
  const std::uint64_t localPosition = reader.layout().archiveStart + entry.localOffset;
  LocalHeader::Bytes bytes{};
  if (readExactAt(reader.file(), localPosition, bytes.data(), bytes.size()) !=
      platform::ERROR_SUCCESS) {
    return kReaderBadArchive;
  }
  const LocalHeader local = LocalHeader::decode(bytes.data());
  if (!localMatchesCentral(local, entry)) return kReaderBadArchive;
  const bool encrypted = entry.encrypted();
  if (encrypted && password.empty()) return kReaderNoPassword;
  if (encrypted && entry.compressedSize < kEncryptionHeaderSize) return kReaderBadArchive;

  std::unique_ptr<EntryReader> stream(new (std::nothrow) EntryReader(
      reader.file(), reader.workspace().input(), entry, localPosition + local.headerLength()));
  if (!stream) return kReaderNoMemory;
  stream->m_remainingCompressed = entry.compressedSize;
  stream->m_remainingUncompressed = entry.uncompressedSize;

  if (encrypted) {
    stream->m_cipher.emplace(password);
    std::array<std::uint8_t, kEncryptionHeaderSize> header{};
    if (readExactAt(reader.file(), stream->m_dataPosition, header.data(), header.size()) !=
        platform::ERROR_SUCCESS) {
      return kReaderEarlyEnd;
    }
    stream->m_cipher->decrypt(header.data(), header.size());
    if (header.back() != passwordCheckByte(local)) return kReaderWrongPassword;
    stream->m_dataPosition += kEncryptionHeaderSize;
    stream->m_remainingCompressed -= kEncryptionHeaderSize;
  }
  if (entry.method == kMethodDeflated) {
    stream->m_stream = reader.workspace().freshStream();
    if (stream->m_stream == nullptr) return kReaderNoMemory;
  }
  result = std::move(stream);
  return kReaderOk;
}

int EntryReader::fillInput() {
  const auto chunk =
      static_cast<std::size_t>(std::min<std::uint64_t>(m_remainingCompressed, m_input.size()));
  const auto status = readExactAt(m_file, m_dataPosition, m_input.data(), chunk);
  if (status == kShortRead) return kReaderEarlyEnd;
  if (status.failed()) return kReaderIoError;
  if (m_cipher) m_cipher->decrypt(m_input.data(), chunk);
  m_dataPosition += chunk;
  m_remainingCompressed -= chunk;
  m_inputNext = 0;
  m_inputEnd = chunk;
  return kReaderOk;
}

long EntryReader::read(std::uint8_t* buffer, std::size_t count) {
  count = static_cast<std::size_t>(std::min<std::uint64_t>(count, m_remainingUncompressed));
  if (count == 0) return 0;
  const long produced =
      m_entry.method == kMethodStored ? copyStored(buffer, count) : inflateInto(buffer, count);
  if (produced < 0) return produced;
  if (produced == 0) return kReaderBadData;  // the data ended before its declared size
  m_crc = static_cast<std::uint32_t>(crc32(m_crc, buffer, static_cast<uInt>(produced)));
  m_remainingUncompressed -= static_cast<std::uint64_t>(produced);
  return produced;
}

long EntryReader::copyStored(std::uint8_t* buffer, std::size_t count) {
  std::size_t produced = 0;
  while (produced < count) {
    if (m_inputNext == m_inputEnd) {
      if (m_remainingCompressed == 0) break;
      if (const int status = fillInput(); status != kReaderOk) return status;
    }
    const std::size_t chunk = std::min(count - produced, m_inputEnd - m_inputNext);
    std::memcpy(buffer + produced, m_input.data() + m_inputNext, chunk);
    m_inputNext += chunk;
    produced += chunk;
  }
  return static_cast<long>(produced);
}

long EntryReader::inflateInto(std::uint8_t* buffer, std::size_t count) {
  m_stream->next_out = buffer;
  m_stream->avail_out = static_cast<uInt>(count);
  while (m_stream->avail_out > 0 && !m_streamEnded) {
    if (m_inputNext == m_inputEnd && m_remainingCompressed > 0) {
      if (const int status = fillInput(); status != kReaderOk) return status;
    }
    // NOTE: inflate runs even without new input: it may still hold output from input it took.
    m_stream->next_in = m_input.data() + m_inputNext;
    m_stream->avail_in = static_cast<uInt>(m_inputEnd - m_inputNext);
    const int result = inflate(m_stream, Z_SYNC_FLUSH);
    m_inputNext = m_inputEnd - m_stream->avail_in;
    if (result == Z_STREAM_END) {
      m_streamEnded = true;
    } else if (result == Z_BUF_ERROR) {
      break;  // no progress possible: the input is used up
    } else if (result != Z_OK) {
      return kReaderBadData;
    }
  }
  return static_cast<long>(count - m_stream->avail_out);
}

bool EntryReader::complete() const { return m_remainingUncompressed == 0 && m_crc == m_entry.crc; }

}  // namespace parcelon
