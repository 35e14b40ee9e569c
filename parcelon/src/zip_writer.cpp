#include "zip_writer.h"

#include <limits>

#include "deflate_level.h"
#include "entry_text.h"
#include "little_endian.h"

namespace parcelon {
namespace {

constexpr std::size_t kOutputBufferSize = 16384;
constexpr std::uint16_t kVersionNeeded = 20;
constexpr std::size_t kMaxFieldLength = 0xFFFF;

}  // namespace

platform::Result<std::unique_ptr<ZipWriter>> ZipWriter::create(platform::FileSystem& files,
                                                               const std::string& path,
                                                               ArchiveLimits limits) {
  auto file = files.openFile(path, platform::OpenMode::CreateTruncate);
  if (!file) return platform::Result<std::unique_ptr<ZipWriter>>::failure(file.status(), path);
  return std::unique_ptr<ZipWriter>(new ZipWriter(std::move(*file), limits));
}

ZipWriter::ZipWriter(std::unique_ptr<platform::File> file, ArchiveLimits limits)
    : m_file(std::move(file)), m_limits(limits), m_output(kOutputBufferSize) {}

ZipWriter::~ZipWriter() {
  if (m_deflateReady) deflateEnd(&m_stream);
}

platform::Status ZipWriter::write(const void* data, std::size_t count) {
  if (count == 0) return platform::ERROR_SUCCESS;  // an empty directory has no buffer at all
  RETURN_IF_FAILED(m_file->write(data, count));
  m_position += count;
  return platform::ERROR_SUCCESS;
}

platform::Status ZipWriter::startEntry(const std::string& name, const EntryInfo& info,
                                       const std::string& comment, Deflation deflation) {
  if (m_entryOpen) {
    RETURN_IF_FAILED(closeEntry());
  }
  const StoredEntryText text = storeEntryText(name.empty() ? "-" : name, comment);
  const std::string& storedName = text.name;
  const std::uint64_t directoryGrowth =
      kCentralHeaderSize + storedName.size() + text.comment.size();
  if (m_entryCount >= m_limits.maxEntries || storedName.size() > kMaxFieldLength ||
      text.comment.size() > kMaxFieldLength ||
      m_centralDirectory.size() + directoryGrowth > m_limits.maxSize ||
      m_position + kLocalHeaderSize + storedName.size() > m_limits.maxSize) {
    return platform::ERROR_FILE_TOO_LARGE;
  }
  RETURN_IF_FAILED(resetDeflate());

  const DosDateTime stamp = dosFromCalendar(info.time);
  m_entry = CentralHeader{};
  m_entry.versionMadeBy = text.versionMadeBy;
  m_entry.versionNeeded = kVersionNeeded;
  m_entry.flags = text.flags;
  m_entry.method = kMethodDeflated;
  m_entry.dosTime = stamp.time;
  m_entry.dosDate = stamp.date;
  m_entry.nameLength = static_cast<std::uint16_t>(storedName.size());
  m_entry.commentLength = static_cast<std::uint16_t>(text.comment.size());
  m_entry.internalAttributes = info.internalAttributes;
  m_entry.externalAttributes = info.externalAttributes;
  m_entry.localOffset = static_cast<std::uint32_t>(m_position);
  m_entryTail = storedName + text.comment;
  m_localPosition = m_position;
  if (const auto status = writeLocalHeader(storedName); status.failed()) {
    // A header cut short would lie between the entries; the failure itself is what counts.
    platform::ignoreFailure(cutBack(), "cutting back a local header written short");
    return status;
  }
  m_compressed = 0;
  m_uncompressed = 0;
  m_crc = 0;
  m_deflatedElsewhere = deflation == Deflation::Elsewhere;
  m_entryOpen = true;
  return platform::ERROR_SUCCESS;
}

platform::Status ZipWriter::resetDeflate() {
  const int result = m_deflateReady ? deflateReset(&m_stream)
                                    : deflateInit2(&m_stream, Z_DEFAULT_COMPRESSION, Z_DEFLATED,
                                                   -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
  if (result != Z_OK) return platform::ERROR_NOT_ENOUGH_MEMORY;
  m_deflateReady = true;
  m_stream.next_out = m_output.data();
  m_stream.avail_out = static_cast<uInt>(m_output.size());
  // A reset keeps the level the last entry ended with but not its tuning; a fresh stream takes
  // both at once.
  if (useDeflateLevel(m_stream, Z_DEFAULT_COMPRESSION) != Z_OK) return platform::ERROR_INVALID_DATA;
  m_level = Z_DEFAULT_COMPRESSION;
  return platform::ERROR_SUCCESS;
}

platform::Status ZipWriter::useLevel(int level) {
  while (level != m_level) {
    // Another level ends the block in hand first, which may need more room than is left.
    const int result = useDeflateLevel(m_stream, level);
    if (result == Z_OK) {
      m_level = level;
    } else if (result == Z_BUF_ERROR && m_stream.avail_out < m_output.size()) {
      RETURN_IF_FAILED(flushOutput());
    } else {
      return platform::ERROR_INVALID_DATA;
    }
  }
  return platform::ERROR_SUCCESS;
}

// The local header of m_entry: CRC-32 and sizes stay 0 until the entry is closed.
platform::Status ZipWriter::writeLocalHeader(const std::string& storedName) {
  LocalHeader local;
  local.versionNeeded = m_entry.versionNeeded;
  local.flags = m_entry.flags;
  local.method = m_entry.method;
  local.dosTime = m_entry.dosTime;
  local.dosDate = m_entry.dosDate;
  local.nameLength = m_entry.nameLength;
  const auto bytes = local.encode();
  RETURN_IF_FAILED(write(bytes.data(), bytes.size()));
  return write(storedName.data(), storedName.size());
}

platform::Status ZipWriter::flushOutput() {
  const std::size_t pending = m_output.size() - m_stream.avail_out;
  if (pending == 0) return platform::ERROR_SUCCESS;
  // Every offset and size field then fits: the data ends below the limit, and the central
  // directory starts where the data ends.
  if (m_position + pending > m_limits.maxSize) return platform::ERROR_FILE_TOO_LARGE;
  RETURN_IF_FAILED(write(m_output.data(), pending));
  m_compressed += pending;
  m_stream.next_out = m_output.data();
  m_stream.avail_out = static_cast<uInt>(m_output.size());
  return platform::ERROR_SUCCESS;
}

platform::Status ZipWriter::deflateStep(int flush) {
  for (;;) {
    if (m_stream.avail_out == 0) {
      RETURN_IF_FAILED(flushOutput());
    }
    const int result = deflate(&m_stream, flush);
    if (result == Z_STREAM_END) return flushOutput();
    if (result != Z_OK && result != Z_BUF_ERROR) return platform::ERROR_INVALID_DATA;
    // Without finishing, deflate is done once it has taken all input and left output room.
    if (flush == Z_NO_FLUSH && m_stream.avail_in == 0 && m_stream.avail_out > 0) {
      return platform::ERROR_SUCCESS;
    }
  }
}

platform::Status ZipWriter::writeEntryData(const std::uint8_t* data, std::size_t count) {
  if (!m_entryOpen || m_deflatedElsewhere) return platform::ERROR_INVALID_HANDLE;
  if (m_uncompressed + count > m_limits.maxSize) return platform::ERROR_FILE_TOO_LARGE;
  RETURN_IF_FAILED(useLevel(deflateLevelFor(data, count)));
  m_crc = static_cast<std::uint32_t>(crc32(m_crc, data, static_cast<uInt>(count)));
  m_uncompressed += count;
  m_stream.next_in = const_cast<std::uint8_t*>(data);
  m_stream.avail_in = static_cast<uInt>(count);
  return deflateStep(Z_NO_FLUSH);
}

platform::Status ZipWriter::reserveEntryData(std::size_t count) {
  if (!m_entryOpen || !m_deflatedElsewhere) return platform::ERROR_INVALID_HANDLE;
  if (m_uncompressed + count > m_limits.maxSize) return platform::ERROR_FILE_TOO_LARGE;
  m_uncompressed += count;
  return platform::ERROR_SUCCESS;
}

platform::Status ZipWriter::writeDeflated(const std::uint8_t* deflated, std::size_t count,
                                          std::uint32_t dataCrc, std::uint64_t dataSize) {
  if (!m_entryOpen || !m_deflatedElsewhere) return platform::ERROR_INVALID_HANDLE;
  if (m_position + count > m_limits.maxSize) return platform::ERROR_FILE_TOO_LARGE;
  RETURN_IF_FAILED(write(deflated, count));
  m_compressed += count;
  m_crc = static_cast<std::uint32_t>(crc32_combine(m_crc, dataCrc, static_cast<z_off_t>(dataSize)));
  return platform::ERROR_SUCCESS;
}

platform::Status ZipWriter::patchLocalHeader() {
  std::uint8_t fields[12];
  put32(fields, m_crc);
  put32(fields + 4, static_cast<std::uint32_t>(m_compressed));
  put32(fields + 8, static_cast<std::uint32_t>(m_uncompressed));
  RETURN_IF_FAILED(m_file->seek(m_localPosition + kLocalCrcOffset));
  RETURN_IF_FAILED(m_file->write(fields, sizeof fields));
  return m_file->seek(m_position);
}

platform::Status ZipWriter::closeEntry() {
  if (!m_entryOpen) return platform::ERROR_SUCCESS;
  if (!m_deflatedElsewhere) {
    m_stream.next_in = nullptr;
    m_stream.avail_in = 0;
    RETURN_IF_FAILED(deflateStep(Z_FINISH));
  }
  RETURN_IF_FAILED(patchLocalHeader());
  m_entry.crc = m_crc;
  m_entry.compressedSize = static_cast<std::uint32_t>(m_compressed);
  m_entry.uncompressedSize = static_cast<std::uint32_t>(m_uncompressed);
  const auto bytes = m_entry.encode();
  m_centralDirectory.insert(m_centralDirectory.end(), bytes.begin(), bytes.end());
  m_centralDirectory.insert(m_centralDirectory.end(), m_entryTail.begin(), m_entryTail.end());
  ++m_entryCount;
  m_entryOpen = false;
  return platform::ERROR_SUCCESS;
}

platform::Status ZipWriter::abandonEntry() {
  if (!m_entryOpen) return platform::ERROR_SUCCESS;
  m_entryOpen = false;
  return cutBack();
}

platform::Status ZipWriter::cutBack() {
  m_position = m_localPosition;
  RETURN_IF_FAILED(m_file->truncate(m_localPosition));
  return m_file->seek(m_localPosition);
}

platform::Status ZipWriter::close(const std::string& comment) {
  if (comment.size() > kMaxArchiveComment) return platform::ERROR_FILE_TOO_LARGE;
  if (m_entryOpen) {
    if (const auto status = closeEntry(); status.failed()) {
      platform::ignoreFailure(abandonEntry(), "the archive is still written without it");
    }
  }
  EndRecord end;
  end.entriesOnDisk = static_cast<std::uint16_t>(m_entryCount);
  end.totalEntries = static_cast<std::uint16_t>(m_entryCount);
  end.centralSize = static_cast<std::uint32_t>(m_centralDirectory.size());
  end.centralOffset = static_cast<std::uint32_t>(m_position);
  end.commentLength = static_cast<std::uint16_t>(comment.size());
  const auto bytes = end.encode();
  platform::Status status = write(m_centralDirectory.data(), m_centralDirectory.size());
  if (status.ok()) status = write(bytes.data(), bytes.size());
  if (status.ok()) status = write(comment.data(), comment.size());
  const auto closed = m_file->close();
  return status.failed() ? status : closed;
}

}  // namespace parcelon
