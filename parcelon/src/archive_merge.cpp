#include "archive_merge.h"

#include "archive_io.h"
#include "file_replacement.h"
#include "reader_code.h"
#include "zip_reader.h"

namespace parcelon {
namespace {

// The addition's one entry: its local record [0, localLength) and its central header.
struct Addition {
  std::unique_ptr<ZipReader> reader;
  std::uint64_t localLength = 0;
};

platform::Result<Addition> openAddition(platform::FileSystem& files, const std::string& path) {
  auto reader = ZipReader::open(files, path);
  if (!reader) return platform::Result<Addition>::failure(reader.status());
  ZipReader& zip = **reader;
  if (zip.entryCount() != 1 || !zip.entryValid() || zip.layout().archiveStart != 0 ||
      zip.entry().localOffset != 0) {
    return platform::Result<Addition>::failure(platform::ERROR_BAD_FORMAT);
  }
  LocalHeader::Bytes bytes{};
  if (const auto status = readExactAt(zip.file(), 0, bytes.data(), bytes.size());
      status.failed()) {
    return platform::Result<Addition>::failure(status);
  }
  const LocalHeader local = LocalHeader::decode(bytes.data());
  if (local.signature != kLocalSignature || (local.flags & kFlagDataDescriptor) != 0) {
    return platform::Result<Addition>::failure(platform::ERROR_BAD_FORMAT);
  }
  Addition addition;
  addition.localLength = local.headerLength() + local.compressedSize;
  addition.reader = std::move(*reader);
  return addition;
}

platform::Status writeMerged(ZipReader& archive, Addition& addition, platform::File& output) {
  constexpr platform::Status kOk = platform::ERROR_SUCCESS;
  const ArchiveLayout& layout = archive.layout();
  const std::uint64_t directoryStart = layout.archiveStart + layout.end.centralOffset;
  ZipReader& added = *addition.reader;
  CentralHeader central = added.entry();
  central.localOffset = layout.end.centralOffset;
  EndRecord end = layout.end;
  end.entriesOnDisk = static_cast<std::uint16_t>(end.entriesOnDisk + 1);
  end.totalEntries = static_cast<std::uint16_t>(end.totalEntries + 1);
  end.centralSize = static_cast<std::uint32_t>(end.centralSize + central.recordLength());
  end.centralOffset = static_cast<std::uint32_t>(end.centralOffset + addition.localLength);

  // Everything up to the old directory (a stub, the entries), then the new entry's data.
  if (auto s = copyBytesAt(archive.file(), 0, directoryStart, output); s != kOk) return s;
  if (auto s = copyBytesAt(added.file(), 0, addition.localLength, output); s != kOk) return s;
  // The old directory, the new entry's header pointing where the old directory began.
  if (auto s = copyBytesAt(archive.file(), directoryStart, layout.end.centralSize, output);
      s != kOk) {
    return s;
  }
  const auto centralBytes = central.encode();
  if (auto s = output.write(centralBytes.data(), centralBytes.size()); s != kOk) return s;
  if (auto s = copyBytesAt(added.file(), added.entryPosition() + kCentralHeaderSize,
                           central.recordLength() - kCentralHeaderSize, output);
      s != kOk) {
    return s;
  }
  const auto endBytes = end.encode();
  if (auto s = output.write(endBytes.data(), endBytes.size()); s != kOk) return s;
  return copyBytesAt(archive.file(), layout.endPosition + kEndRecordSize, layout.end.commentLength,
                     output);
}

// Every header the end record counts reads, and together they fill the directory exactly. Only
// then does a header appended to the directory follow the last of them where readers walking the
// directory find it; merging into anything else would report success for an entry nobody reaches.
bool directoryIsWhole(ZipReader& archive) {
  std::uint64_t length = 0;
  for (std::uint32_t i = 0; i < archive.entryCount(); ++i) {
    if ((i == 0 ? archive.goToFirst() : archive.goToNext()) != kReaderOk) return false;
    length += archive.entry().recordLength();
  }
  return length == archive.layout().end.centralSize;
}

bool resultFits(const ArchiveLayout& layout, const Addition& addition,
                const ArchiveLimits& limits) {
  const std::uint64_t dataEnd = layout.end.centralOffset + addition.localLength;
  const std::uint64_t directorySize =
      layout.end.centralSize + addition.reader->entry().recordLength();
  return layout.end.totalEntries + 1u <= limits.maxEntries && dataEnd <= limits.maxSize &&
         directorySize <= limits.maxSize;
}

}  // namespace

platform::Status mergeArchive(platform::FileSystem& files, const std::string& archive,
                              const std::string& addition, ArchiveLimits limits) {
  auto target = ZipReader::open(files, archive);
  if (!target) return target.status();
  if (!(*target)->layout().directoryEndsAtEndRecord() || !directoryIsWhole(**target)) {
    return platform::ERROR_BAD_FORMAT;
  }
  auto added = openAddition(files, addition);
  if (!added) return added.status();
  if (!resultFits((*target)->layout(), *added, limits)) return platform::ERROR_FILE_TOO_LARGE;

  FileReplacement replacement(files, archive);
  const auto written = replacement.write(
      [&](platform::File& output) { return writeMerged(**target, *added, output); });
  if (written.failed()) return written;
  target->reset();
  added->reader.reset();
  return replacement.commit();
}

}  // namespace parcelon
