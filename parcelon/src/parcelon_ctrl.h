// The Parcelon control: one archive open for reading and/or one being written, the methods its
// hosts call by dispatch identifier, and the Status event.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "outcome.h"
#include "parallel_deflate.h"
#include "platform/file_system.h"
#include "platform/thread_service.h"
#include "random_source.h"
#include "status_sink.h"
#include "zip_reader.h"
#include "zip_writer.h"

namespace parcelon {

class SourceFile;

struct AboutBoxText {
  std::string title = "About Parcelon Control";
  std::string text = "Parcelon Control, Version 2.0";
  std::string button = "Close";
};
using AboutBoxHandler = std::function<void(const AboutBoxText&)>;

class ParcelonCtrl {
 public:
  // With `threads`, large files are deflated on every processor.
  ParcelonCtrl(platform::FileSystem& files, RandomSource& random, ArchiveLimits limits = {},
               platform::ThreadService* threads = nullptr);
  ~ParcelonCtrl();
  ParcelonCtrl(const ParcelonCtrl&) = delete;
  ParcelonCtrl& operator=(const ParcelonCtrl&) = delete;

  void setStatusSink(StatusSink sink) { m_status = std::move(sink); }
  void setAboutBoxHandler(AboutBoxHandler handler) { m_aboutBox = std::move(handler); }

  Outcome<std::int32_t> ExtractFile(const std::string& name, const std::string& path,
                                    const std::string& passwd);
  Outcome<std::string> Filename(std::int32_t rec);
  Outcome<std::int32_t> FileCount();
  Outcome<std::int32_t> FileSize(std::int32_t rec);
  Outcome<std::int32_t> FileSizeZ(std::int32_t rec);
  Outcome<double> FileDate(std::int32_t rec);
  Outcome<std::int32_t> OpenZip(const std::string& file);
  Outcome<std::int32_t> CreateZip(const std::string& Filename, const std::string& comment);
  Outcome<std::int32_t> Close();
  Outcome<std::int32_t> AddFile(const std::string& Filename, const std::string& comment,
                                bool bSavePath, const std::string& passwd);
  Outcome<std::int32_t> RemoveFile(const std::string& Filename);
  Outcome<std::string> FileComment(std::int32_t rec);
  Outcome<bool> IsCrypted(std::int32_t rec);
  void AboutBox();

  // The state hosts cannot see but tests check.
  const std::string& archivePath() const { return m_archivePath; }
  std::int32_t currentRecord() const { return m_reader ? m_reader->index() : 0; }
  bool readerOpen() const { return m_reader != nullptr; }
  bool writerOpen() const { return m_writer != nullptr; }

 private:
  // Closes the writer (writing the archive comment), then the reader; clears the path.
  [[nodiscard]] platform::Status closeEverything();
  void openReader(const std::string& path);
  const ZipReader* entryAt(std::int32_t rec);
  Outcome<std::int32_t> addThroughTemporary(SourceFile& source, const std::string& name,
                                            const std::string& comment, const std::string& passwd);
  [[nodiscard]] platform::Status writeSingleEntryArchive(SourceFile& source,
                                                         const std::string& path,
                                                         const std::string& name,
                                                         const std::string& comment);

  platform::FileSystem& m_files;
  RandomSource& m_random;
  ArchiveLimits m_limits;
  std::unique_ptr<ParallelDeflate> m_parallel;  // null without threads to deflate on
  StatusSink m_status;
  AboutBoxHandler m_aboutBox;

  std::unique_ptr<ZipReader> m_reader;
  std::unique_ptr<ZipWriter> m_writer;
  std::string m_archivePath;
  std::string m_archiveComment;
};

}  // namespace parcelon
