// Reads an archive by walking its central directory in the file, one header at a time: the
// directory is never loaded whole.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "inflate_workspace.h"
#include "platform/file_system.h"
#include "zip_records.h"

namespace parcelon {

// Where the archive lies in its file. Offsets in the records are relative to archiveStart,
// which is positive when other data (a self-extracting stub) precedes the archive.
struct ArchiveLayout {
  std::uint64_t endPosition = 0;  // of the end record, from the start of the file
  std::uint64_t archiveStart = 0;
  EndRecord end;

  // The shape this component writes, and the only one that merging and removal rewrite:
  // nothing between the central directory and the end record.
  bool directoryEndsAtEndRecord() const {
    return archiveStart + end.centralOffset + end.centralSize == endPosition;
  }
};

class ZipReader {
 public:
  // Fails with platform::ERROR_BAD_FORMAT when no valid end record is found.
  static platform::Result<std::unique_ptr<ZipReader>> open(platform::FileSystem& files,
                                                           const std::string& path);
  static platform::Result<std::unique_ptr<ZipReader>> open(std::unique_ptr<platform::File> file);

  const ArchiveLayout& layout() const { return m_layout; }
  std::uint16_t entryCount() const { return m_layout.end.totalEntries; }

  // The entry the reader stands on. When it is not valid (an empty archive, a damaged
  // header), the header is zero and the name empty.
  std::int32_t index() const { return m_index; }
  bool entryValid() const { return m_valid; }
  const CentralHeader& entry() const { return m_entry; }
  const std::string& entryName() const { return m_name; }
  // Where the current entry's central header starts, from the start of the file.
  std::uint64_t entryPosition() const {
    return m_layout.archiveStart + m_layout.end.centralOffset + m_directoryOffset;
  }
  [[nodiscard]] platform::Result<std::string> readEntryComment();

  // 0, kReaderEndOfList at the end, or the failure of reading the header. A failed move leaves
  // the reader where it stood.
  int goToFirst();
  [[nodiscard]] int goToNext();
  // Record numbers past the last entry stop on the last one and negative ones on the first;
  // both answer at once, without stepping through numbers that do not exist.
  void goToRecord(std::int32_t record);
  // Searches without regard to the case of ASCII letters: the current entry, the next one, then
  // every entry from the first. Without a match the reader stays where it stood.
  bool locate(std::string_view name);

  platform::File& file() { return *m_file; }
  // Lent to the entry being read; kept here so that every entry of the archive reuses it.
  InflateWorkspace& workspace() { return m_workspace; }

 private:
  struct Position {
    std::uint64_t directoryOffset = 0;  // of the current header, relative to the central dir
    std::int32_t index = 0;
    bool valid = false;
    CentralHeader entry;
    std::string name;
  };

  ZipReader(std::unique_ptr<platform::File> file, ArchiveLayout layout);
  [[nodiscard]] int readHeader(std::uint64_t directoryOffset, CentralHeader& header,
                               std::string& name);
  // Reads the central directory through a window of 16 KiB: headers follow one another, so most
  // of them come from memory while the file stands elsewhere for the entries' data.
  [[nodiscard]] platform::Status readDirectory(std::uint64_t position, void* buffer,
                                               std::size_t count);
  Position save() const;
  void restore(Position position);

  std::unique_ptr<platform::File> m_file;
  ArchiveLayout m_layout;
  std::vector<std::uint8_t> m_window;
  InflateWorkspace m_workspace;
  std::uint64_t m_windowStart = 0;  // position of m_window[0] in the file
  std::size_t m_windowSize = 0;
  std::uint64_t m_directoryOffset = 0;
  std::int32_t m_index = 0;
  bool m_valid = false;
  CentralHeader m_entry{};
  std::string m_name;
};

// Compares without regard to the case of the ASCII letters a-z; every other byte exactly.
bool namesMatch(std::string_view left, std::string_view right);

}  // namespace parcelon
