// Writes a new archive: local headers with the data right behind them (sizes patched in when an
// entry is closed, so no data descriptors), the central directory kept in memory until the
// archive is closed, then the end record directly after it.
#pragma once

#include <zlib.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "dos_date_time.h"
#include "platform/file_system.h"
#include "zip_records.h"

namespace parcelon {

// What the records' 32-bit sizes and offsets and 16-bit counts can hold. Tests make them small.
struct ArchiveLimits {
  std::uint64_t maxSize = 0xFFFFFFFFu;
  std::uint32_t maxEntries = 0xFFFFu;
};

// Where an entry's data is deflated: by the writer, or elsewhere (in parallel) and handed in
// deflated.
enum class Deflation { Here, Elsewhere };

struct EntryInfo {
  CalendarTime time;
  std::uint16_t internalAttributes = 0;
  std::uint32_t externalAttributes = 0;
};

class ZipWriter {
 public:
  // Creates or truncates the file.
  static platform::Result<std::unique_ptr<ZipWriter>> create(platform::FileSystem& files,
                                                             const std::string& path,
                                                             ArchiveLimits limits = {});
  ~ZipWriter();
  ZipWriter(const ZipWriter&) = delete;
  ZipWriter& operator=(const ZipWriter&) = delete;

  // Closes an entry still open. An empty name is stored as "-". platform::ERROR_FILE_TOO_LARGE when the
  // archive cannot hold one more entry or the name or comment is too long for its field.
  [[nodiscard]] platform::Status startEntry(const std::string& name, const EntryInfo& info,
                                            const std::string& comment,
                                            Deflation deflation = Deflation::Here);
  // platform::ERROR_FILE_TOO_LARGE, with nothing written, when the entry or the archive would
  // outgrow what the records can hold.
  [[nodiscard]] platform::Status writeEntryData(const std::uint8_t* data, std::size_t count);

  // For an entry started with Deflation::Elsewhere, in place of writeEntryData:
  // Counts `count` more bytes of the entry's data; platform::ERROR_FILE_TOO_LARGE, with nothing
  // counted, when the records could not hold them.
  [[nodiscard]] platform::Status reserveEntryData(std::size_t count);
  // Appends raw deflate bytes that hold `dataSize` bytes of the entry's data, whose CRC-32 is
  // `dataCrc`. The pieces join into one deflate stream, which the last one ends.
  [[nodiscard]] platform::Status writeDeflated(const std::uint8_t* deflated, std::size_t count,
                                               std::uint32_t dataCrc, std::uint64_t dataSize);

  [[nodiscard]] platform::Status closeEntry();
  // Drops the open entry: the file is cut back to where its local header began.
  [[nodiscard]] platform::Status abandonEntry();
  // Closes an open entry, writes the central directory and the end record with `comment`, and
  // closes the file. Fails with platform::ERROR_FILE_TOO_LARGE, writing nothing, for a comment that would
  // put the end record out of a reader's reach.
  [[nodiscard]] platform::Status close(const std::string& comment);

  // The longest archive comment a reader still finds behind the end record.
  static constexpr std::size_t kMaxArchiveComment = 65535 - kEndRecordSize;

 private:
  ZipWriter(std::unique_ptr<platform::File> file, ArchiveLimits limits);
  [[nodiscard]] platform::Status write(const void* data, std::size_t count);
  [[nodiscard]] platform::Status resetDeflate();
  // Deflates what follows at `level`, ending the current block when the level changes.
  [[nodiscard]] platform::Status useLevel(int level);
  [[nodiscard]] platform::Status writeLocalHeader(const std::string& storedName);
  // Cuts the file back to where the current entry's local header begins.
  [[nodiscard]] platform::Status cutBack();
  [[nodiscard]] platform::Status deflateStep(int flush);
  [[nodiscard]] platform::Status flushOutput();
  [[nodiscard]] platform::Status patchLocalHeader();

  std::unique_ptr<platform::File> m_file;
  ArchiveLimits m_limits;
  std::uint64_t m_position = 0;  // bytes written to the file
  std::uint32_t m_entryCount = 0;
  std::vector<std::uint8_t> m_centralDirectory;

  bool m_entryOpen = false;
  CentralHeader m_entry;
  std::string m_entryTail;  // name and comment of the central header
  std::uint64_t m_localPosition = 0;
  std::uint64_t m_compressed = 0;
  std::uint64_t m_uncompressed = 0;
  std::uint32_t m_crc = 0;
  bool m_deflatedElsewhere = false;
  std::vector<std::uint8_t> m_output;
  z_stream m_stream{};
  bool m_deflateReady = false;
  int m_level = Z_DEFAULT_COMPRESSION;  // the level m_stream deflates at
};

}  // namespace parcelon
