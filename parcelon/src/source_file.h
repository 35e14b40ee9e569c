// A file being added to an archive: opened for reading (others may read it too) with the
// facts its entry records.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "parallel_deflate.h"
#include "platform/file_system.h"
#include "status_sink.h"
#include "zip_writer.h"

namespace parcelon {

class SourceFile {
 public:
  static platform::Result<SourceFile> open(platform::FileSystem& files, const std::string& path);

  // The entry's time stamp is the last-write time in UTC, as the file system reports it.
  const EntryInfo& entryInfo() const { return m_info; }
  std::uint64_t size() const { return m_size; }

  // Writes the file as one entry: reads it in blocks of 2048 bytes and fires Status with the
  // stored name after each. A large file is deflated by `parallel` when there is one. On
  // failure the entry is left open for the caller to abandon.
  [[nodiscard]] platform::Status writeEntry(ZipWriter& writer, const std::string& storedName,
                                            const std::string& comment, const StatusSink& status,
                                            ParallelDeflate* parallel = nullptr);

 private:
  SourceFile(std::unique_ptr<platform::File> file, EntryInfo info, std::uint64_t size);
  // Reads until `chunk` is full or the file ends; the number of bytes read.
  platform::Result<std::size_t> fill(std::vector<std::uint8_t>& chunk);
  std::unique_ptr<platform::File> m_file;
  EntryInfo m_info;
  std::uint64_t m_size = 0;  // when the file was opened; no more is read
  std::uint64_t m_read = 0;
};

}  // namespace parcelon
