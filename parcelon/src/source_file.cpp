#include "source_file.h"

#include <algorithm>
#include <vector>

#include "status_progress.h"

namespace parcelon {

platform::Result<SourceFile> SourceFile::open(platform::FileSystem& files,
                                              const std::string& path) {
  auto info = files.fileInfo(path);
  if (!info) return platform::Result<SourceFile>::failure(info.status(), path);
  if ((info->attributes & platform::FILE_ATTRIBUTE_DIRECTORY) != 0) {
    return platform::Result<SourceFile>::failure(platform::ERROR_ACCESS_DENIED, path);
  }
  auto file = files.openFile(path, platform::OpenMode::Read);
  if (!file) return platform::Result<SourceFile>::failure(file.status(), path);
  EntryInfo entry;
  entry.time = calendarFromFileTime(info->lastWrite);
  entry.externalAttributes = info->attributes;
  return SourceFile(std::move(*file), entry, info->size);
}

SourceFile::SourceFile(std::unique_ptr<platform::File> file, EntryInfo info, std::uint64_t size)
    : m_file(std::move(file)), m_info(info), m_size(size) {}

platform::Status SourceFile::writeEntry(ZipWriter& writer, const std::string& storedName,
                                        const std::string& comment, const StatusSink& status,
                                        ParallelDeflate* parallel) {
  if (parallel != nullptr && !parallel->suits(m_size)) parallel = nullptr;
  const Deflation deflation = parallel != nullptr ? Deflation::Elsewhere : Deflation::Here;
  if (const auto s = writer.startEntry(storedName, m_info, comment, deflation); s.failed()) {
    return s;
  }
  // After a failure the workers finish with the chunks in hand before the entry is dropped.
  struct Abandon {
    ParallelDeflate* parallel;
    ~Abandon() {
      if (parallel != nullptr) parallel->abandon();
    }
  } abandon{parallel};
  if (parallel != nullptr) parallel->begin(writer, m_size);

  std::vector<std::uint8_t> chunk(kStatusChunkSize);
  BlockProgress progress(status, storedName, m_size);
  for (;;) {
    auto filled = fill(chunk);
    if (!filled) return filled.status();
    if (*filled == 0) break;
    const auto s = parallel != nullptr ? parallel->write(chunk.data(), *filled)
                                       : writer.writeEntryData(chunk.data(), *filled);
    if (s.failed()) return s;
    progress.advance(*filled);
    if (*filled < chunk.size()) break;
  }
  if (parallel != nullptr) RETURN_IF_FAILED(parallel->finish());
  return writer.closeEntry();
}

// NOTE: reading stops at the size the file had when it was opened. A file that grows while it
// is read (the archive being written, added to itself) would otherwise be chased until the
// archive reaches its size limit.
platform::Result<std::size_t> SourceFile::fill(std::vector<std::uint8_t>& chunk) {
  const auto wanted =
      static_cast<std::size_t>(std::min<std::uint64_t>(chunk.size(), m_size - m_read));
  std::size_t filled = 0;
  while (filled < wanted) {
    auto got = m_file->read(chunk.data() + filled, wanted - filled);
    if (!got) return got;
    if (*got == 0) break;
    filled += *got;
  }
  m_read += filled;
  return filled;
}

}  // namespace parcelon
