#include "entry_removal.h"

#include <vector>

#include "archive_io.h"
#include "file_replacement.h"
#include "little_endian.h"
#include "reader_code.h"
#include "zip_reader.h"

namespace parcelon {
namespace {

constexpr platform::Status kOk = platform::ERROR_SUCCESS;
constexpr std::uint64_t kDescriptorSize = 12;  // CRC-32 and the two sizes

// Calls `visit(reader)` on every central header in order; fails on a damaged directory.
template <typename Visit>
platform::Status forEachEntry(ZipReader& reader, Visit visit) {
  const std::uint32_t count = reader.entryCount();
  if (count == 0) return kOk;
  if (reader.goToFirst() != kReaderOk) return platform::ERROR_BAD_FORMAT;
  for (std::uint32_t i = 0; i < count; ++i) {
    if (i > 0 && reader.goToNext() != kReaderOk) return platform::ERROR_BAD_FORMAT;
    if (const auto status = visit(reader); status != kOk) return status;
  }
  return kOk;
}

// The length of the entry's local record: header, name, extra field, data and the data
// descriptor that follows the data when the flags say so.
platform::Result<std::uint64_t> localRecordLength(ZipReader& reader) {
  const ArchiveLayout& layout = reader.layout();
  const std::uint64_t position = layout.archiveStart + reader.entry().localOffset;
  LocalHeader::Bytes bytes{};
  if (const auto s = readExactAt(reader.file(), position, bytes.data(), bytes.size()); s != kOk) {
    return platform::Result<std::uint64_t>::failure(s);
  }
  const LocalHeader local = LocalHeader::decode(bytes.data());
  if (local.signature != kLocalSignature) {
    return platform::Result<std::uint64_t>::failure(platform::ERROR_BAD_FORMAT);
  }
  std::uint64_t length = local.headerLength() + reader.entry().compressedSize;
  if ((local.flags & kFlagDataDescriptor) != 0) {
    std::uint8_t signature[4];
    if (const auto s = readExactAt(reader.file(), position + length, signature, 4); s != kOk) {
      return platform::Result<std::uint64_t>::failure(s);
    }
    length += kDescriptorSize + (get32(signature) == kDescriptorSignature ? 4 : 0);
  }
  if (reader.entry().localOffset + length > layout.end.centralOffset) {
    return platform::Result<std::uint64_t>::failure(platform::ERROR_BAD_FORMAT);
  }
  return length;
}

class Removal {
 public:
  Removal(ZipReader& reader, std::string_view name) : m_reader(reader), m_name(name) {}

  platform::Result<std::uint32_t> countMatches() {
    std::uint32_t matches = 0;
    const auto status = forEachEntry(m_reader, [&](ZipReader& reader) {
      if (namesMatch(reader.entryName(), m_name)) ++matches;
      return kOk;
    });
    if (status != kOk) return platform::Result<std::uint32_t>::failure(status);
    return matches;
  }

  platform::Status write(platform::File& output) {
    const ArchiveLayout& layout = m_reader.layout();
    // Data before the archive (a stub) stays; offsets stay relative to the archive's start.
    if (auto s = copyBytesAt(m_reader.file(), 0, layout.archiveStart, output); s != kOk) return s;
    m_written = layout.archiveStart;
    if (auto s = forEachEntry(m_reader, [&](ZipReader& r) { return copyLocal(r, output); });
        s != kOk) {
      return s;
    }
    const std::uint64_t directoryStart = m_written;
    std::size_t kept = 0;
    if (auto s = forEachEntry(m_reader, [&](ZipReader& r) { return copyCentral(r, output, kept); });
        s != kOk) {
      return s;
    }
    return writeEnd(output, directoryStart);
  }

 private:
  platform::Status copyLocal(ZipReader& reader, platform::File& output) {
    if (namesMatch(reader.entryName(), m_name)) return kOk;
    auto length = localRecordLength(reader);
    if (!length) return length.status();
    m_newOffsets.push_back(static_cast<std::uint32_t>(m_written - m_reader.layout().archiveStart));
    const std::uint64_t position = m_reader.layout().archiveStart + reader.entry().localOffset;
    if (auto s = copyBytesAt(reader.file(), position, *length, output); s != kOk) return s;
    m_written += *length;
    return kOk;
  }

  platform::Status copyCentral(ZipReader& reader, platform::File& output, std::size_t& kept) {
    if (namesMatch(reader.entryName(), m_name)) return kOk;
    CentralHeader header = reader.entry();
    header.localOffset = m_newOffsets[kept++];
    const auto bytes = header.encode();
    if (auto s = output.write(bytes.data(), bytes.size()); s != kOk) return s;
    if (auto s = copyBytesAt(reader.file(), reader.entryPosition() + kCentralHeaderSize,
                             header.recordLength() - kCentralHeaderSize, output);
        s != kOk) {
      return s;
    }
    m_written += header.recordLength();
    return kOk;
  }

  platform::Status writeEnd(platform::File& output, std::uint64_t directoryStart) {
    const ArchiveLayout& layout = m_reader.layout();
    EndRecord end = layout.end;
    end.entriesOnDisk = static_cast<std::uint16_t>(m_newOffsets.size());
    end.totalEntries = end.entriesOnDisk;
    end.centralOffset = static_cast<std::uint32_t>(directoryStart - layout.archiveStart);
    end.centralSize = static_cast<std::uint32_t>(m_written - directoryStart);
    const auto bytes = end.encode();
    if (auto s = output.write(bytes.data(), bytes.size()); s != kOk) return s;
    return copyBytesAt(m_reader.file(), layout.endPosition + kEndRecordSize,
                       layout.end.commentLength, output);
  }

  ZipReader& m_reader;
  std::string_view m_name;
  std::uint64_t m_written = 0;
  // NOTE: one offset per kept entry, not the headers: the directory itself is read twice
  // from the file instead of being held in memory.
  std::vector<std::uint32_t> m_newOffsets;
};

}  // namespace

platform::Result<std::uint32_t> removeEntries(platform::FileSystem& files,
                                              const std::string& archive, std::string_view name) {
  using Outcome = platform::Result<std::uint32_t>;
  auto reader = ZipReader::open(files, archive);
  if (!reader) return Outcome::failure(reader.status(), archive);
  if (!(*reader)->layout().directoryEndsAtEndRecord()) return Outcome::failure(platform::ERROR_BAD_FORMAT);
  Removal removal(**reader, name);
  auto matches = removal.countMatches();
  if (!matches || *matches == 0) return matches;

  FileReplacement replacement(files, archive);
  if (auto s = replacement.write([&](platform::File& output) { return removal.write(output); });
      s != kOk) {
    return Outcome::failure(s, archive);
  }
  reader->reset();
  if (auto s = replacement.commit(); s != kOk) return Outcome::failure(s, archive);
  return *matches;
}

}  // namespace parcelon
