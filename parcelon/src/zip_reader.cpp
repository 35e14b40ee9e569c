#include "zip_reader.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#include "archive_io.h"
#include "little_endian.h"
#include "reader_code.h"

namespace parcelon {
namespace {

// The end record must start within this many bytes of the end of the file.
constexpr std::uint64_t kEndSearchSpan = 65535;
constexpr std::size_t kSearchChunk = 1024;
constexpr std::size_t kSignatureSize = 4;
constexpr std::size_t kDirectoryWindow = 16384;

template <typename T>
platform::Result<T> badFormat() {
  return platform::Result<T>::failure(platform::ERROR_BAD_FORMAT);
}

// The position of the end record nearest the end of the file.
platform::Result<std::uint64_t> findEndRecord(platform::File& file, std::uint64_t fileSize) {
  const std::uint64_t searchStart = fileSize - std::min(fileSize, kEndSearchSpan);
  std::array<std::uint8_t, kSearchChunk> chunk{};
  std::uint64_t chunkEnd = fileSize;
  while (chunkEnd > searchStart + kSignatureSize - 1) {
    const std::uint64_t chunkStart =
        std::max(searchStart, chunkEnd - std::min<std::uint64_t>(chunkEnd, kSearchChunk));
    const auto length = static_cast<std::size_t>(chunkEnd - chunkStart);
    if (const auto status = readExactAt(file, chunkStart, chunk.data(), length);
        status.failed()) {
      return platform::Result<std::uint64_t>::failure(status);
    }
    for (std::size_t i = length - kSignatureSize + 1; i-- > 0;) {
      const std::uint64_t position = chunkStart + i;
      // NOTE: a signature too close to the end to hold a whole record is data, not the record.
      if (get32(&chunk[i]) == kEndSignature && position + kEndRecordSize <= fileSize) {
        return position;
      }
    }
    if (chunkStart == searchStart) break;
    chunkEnd = chunkStart + kSignatureSize - 1;
  }
  return badFormat<std::uint64_t>();
}

platform::Result<ArchiveLayout> readLayout(platform::File& file) {
  auto fileSize = file.size();
  if (!fileSize) return platform::Result<ArchiveLayout>::failure(fileSize.status());
  auto endPosition = findEndRecord(file, *fileSize);
  if (!endPosition) return platform::Result<ArchiveLayout>::failure(endPosition.status());
  EndRecord::Bytes bytes{};
  if (const auto status = readExactAt(file, *endPosition, bytes.data(), bytes.size());
      status.failed()) {
    return platform::Result<ArchiveLayout>::failure(status);
  }
  ArchiveLayout layout;
  layout.endPosition = *endPosition;
  layout.end = EndRecord::decode(bytes.data());
  const EndRecord& end = layout.end;
  const std::uint64_t directoryEnd =
      static_cast<std::uint64_t>(end.centralOffset) + end.centralSize;
  if (end.diskNumber != 0 || end.centralDisk != 0 || end.entriesOnDisk != end.totalEntries ||
      directoryEnd > layout.endPosition) {
    return badFormat<ArchiveLayout>();
  }
  layout.archiveStart = layout.endPosition - directoryEnd;
  return layout;
}

char asciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

bool namesMatch(std::string_view left, std::string_view right) {
  return std::equal(left.begin(), left.end(), right.begin(), right.end(),
                    [](char a, char b) { return asciiLower(a) == asciiLower(b); });
}

platform::Result<std::unique_ptr<ZipReader>> ZipReader::open(platform::FileSystem& files,
                                                             const std::string& path) {
  auto file = files.openFile(path, platform::OpenMode::Read);
  if (!file) return platform::Result<std::unique_ptr<ZipReader>>::failure(file.status(), path);
  return open(std::move(*file));
}

platform::Result<std::unique_ptr<ZipReader>> ZipReader::open(std::unique_ptr<platform::File> file) {
  auto layout = readLayout(*file);
  if (!layout) return platform::Result<std::unique_ptr<ZipReader>>::failure(layout.status());
  std::unique_ptr<ZipReader> reader(new ZipReader(std::move(file), std::move(*layout)));
  // An empty or damaged directory still opens; the record queries then answer with empty values.
  reader->goToFirst();
  return reader;
}

ZipReader::ZipReader(std::unique_ptr<platform::File> file, ArchiveLayout layout)
    : m_file(std::move(file)), m_layout(std::move(layout)), m_window(kDirectoryWindow) {}

platform::Status ZipReader::readDirectory(std::uint64_t position, void* buffer, std::size_t count) {
  const bool inWindow =
      position >= m_windowStart && position + count <= m_windowStart + m_windowSize;
  if (!inWindow) {
    if (count > m_window.size()) return readExactAt(*m_file, position, buffer, count);
    RETURN_IF_FAILED(m_file->seek(position));
    m_windowSize = 0;
    while (m_windowSize < m_window.size()) {
      auto got = m_file->read(m_window.data() + m_windowSize, m_window.size() - m_windowSize);
      if (!got) return got.status();
      if (*got == 0) break;
      m_windowSize += *got;
    }
    m_windowStart = position;
    if (count > m_windowSize) return kShortRead;
  }
  std::memcpy(buffer, m_window.data() + (position - m_windowStart), count);
  return platform::ERROR_SUCCESS;
}

int ZipReader::readHeader(std::uint64_t directoryOffset, CentralHeader& header, std::string& name) {
  CentralHeader::Bytes bytes{};
  const std::uint64_t position =
      m_layout.archiveStart + m_layout.end.centralOffset + directoryOffset;
  if (readDirectory(position, bytes.data(), bytes.size()) != platform::ERROR_SUCCESS) {
    return kReaderIoError;
  }
  header = CentralHeader::decode(bytes.data());
  if (header.signature != kCentralSignature) return kReaderBadArchive;
  name.resize(header.nameLength);
  if (readDirectory(position + kCentralHeaderSize, name.data(), name.size()) !=
      platform::ERROR_SUCCESS) {
    return kReaderIoError;
  }
  return kReaderOk;
}

int ZipReader::goToFirst() {
  m_directoryOffset = 0;
  m_index = 0;
  const int result = readHeader(0, m_entry, m_name);
  m_valid = result == kReaderOk;
  if (!m_valid) {
    m_entry = CentralHeader{};
    m_name.clear();
  }
  return result;
}

int ZipReader::goToNext() {
  if (!m_valid || m_index + 1 >= static_cast<std::int32_t>(entryCount())) return kReaderEndOfList;
  const std::uint64_t nextOffset = m_directoryOffset + m_entry.recordLength();
  CentralHeader header;
  std::string name;
  const int result = readHeader(nextOffset, header, name);
  if (result != kReaderOk) return result;
  m_directoryOffset = nextOffset;
  ++m_index;
  m_entry = header;
  m_name = std::move(name);
  return kReaderOk;
}

void ZipReader::goToRecord(std::int32_t record) {
  if (record == m_index) return;
  if (record < m_index) {
    if (goToFirst() != kReaderOk) return;
  }
  while (m_index < record) {
    if (goToNext() != kReaderOk) return;
  }
}

platform::Result<std::string> ZipReader::readEntryComment() {
  std::string comment;
  if (!m_valid || m_entry.commentLength == 0) return comment;
  const std::uint64_t position = m_layout.archiveStart + m_layout.end.centralOffset +
                                 m_directoryOffset + kCentralHeaderSize + m_entry.nameLength +
                                 m_entry.extraLength;
  comment.resize(m_entry.commentLength);
  if (const auto status = readDirectory(position, comment.data(), comment.size());
      status.failed()) {
    return platform::Result<std::string>::failure(status);
  }
  return comment;
}

ZipReader::Position ZipReader::save() const {
  return Position{m_directoryOffset, m_index, m_valid, m_entry, m_name};
}

void ZipReader::restore(Position position) {
  m_directoryOffset = position.directoryOffset;
  m_index = position.index;
  m_valid = position.valid;
  m_entry = position.entry;
  m_name = std::move(position.name);
}

bool ZipReader::locate(std::string_view name) {
  if (m_valid && namesMatch(m_name, name)) return true;
  Position start = save();
  if (goToNext() == kReaderOk && namesMatch(m_name, name)) return true;
  if (goToFirst() == kReaderOk) {
    do {
      if (namesMatch(m_name, name)) return true;
    } while (goToNext() == kReaderOk);
  }
  restore(std::move(start));
  return false;
}

}  // namespace parcelon
