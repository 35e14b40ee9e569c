#include "parcelon_ctrl.h"

#include <optional>

#include "archive_merge.h"
#include "archive_paths.h"
#include "dos_date_time.h"
#include "encryption_pass.h"
#include "entry_extraction.h"
#include "entry_removal.h"
#include "source_file.h"
#include "temporary_file.h"

namespace parcelon {
namespace {

constexpr std::int32_t kAddFailed = -1;

}  // namespace

ParcelonCtrl::ParcelonCtrl(platform::FileSystem& files, RandomSource& random, ArchiveLimits limits,
                           platform::ThreadService* threads)
    : m_files(files), m_random(random), m_limits(limits) {
  if (threads != nullptr && threads->workers() > 1) {
    m_parallel = std::make_unique<ParallelDeflate>(*threads);
  }
}

ParcelonCtrl::~ParcelonCtrl() {
  // A host that goes away without Close still gets its archive finished.
  platform::ignoreFailure(closeEverything(), "finishing the archive of a control released without Close");
}

platform::Status ParcelonCtrl::closeEverything() {
  platform::Status status = platform::ERROR_SUCCESS;
  if (m_writer) {
    status = m_writer->close(m_archiveComment);
    m_writer.reset();
  }
  m_reader.reset();
  m_archivePath.clear();
  return status;
}

void ParcelonCtrl::openReader(const std::string& path) {
  m_archivePath = path;
  auto reader = ZipReader::open(m_files, path);
  if (reader) m_reader = std::move(*reader);
}

const ZipReader* ParcelonCtrl::entryAt(std::int32_t rec) {
  m_reader->goToRecord(rec);
  return m_reader.get();
}

Outcome<std::int32_t> ParcelonCtrl::ExtractFile(const std::string& name, const std::string& path,
                                                const std::string& passwd) {
  if (!m_reader) return ZipError::NotOpen;
  return extractEntry(m_files, *m_reader, name, path, passwd, m_status);
}

Outcome<std::string> ParcelonCtrl::Filename(std::int32_t rec) {
  if (!m_reader) return ZipError::NotOpen;
  return entryAt(rec)->entryName();
}

Outcome<std::int32_t> ParcelonCtrl::FileCount() {
  if (!m_reader) return ZipError::NotOpen;
  return static_cast<std::int32_t>(m_reader->entryCount());
}

Outcome<std::int32_t> ParcelonCtrl::FileSize(std::int32_t rec) {
  if (!m_reader) return ZipError::NotOpen;
  return static_cast<std::int32_t>(entryAt(rec)->entry().uncompressedSize);
}

Outcome<std::int32_t> ParcelonCtrl::FileSizeZ(std::int32_t rec) {
  if (!m_reader) return ZipError::NotOpen;
  return static_cast<std::int32_t>(entryAt(rec)->entry().compressedSize);
}

Outcome<double> ParcelonCtrl::FileDate(std::int32_t rec) {
  if (!m_reader) return ZipError::NotOpen;
  const CentralHeader& entry = entryAt(rec)->entry();
  return automationDateFromDos(DosDateTime{entry.dosDate, entry.dosTime});
}

Outcome<std::string> ParcelonCtrl::FileComment(std::int32_t rec) {
  if (!m_reader) return ZipError::NotOpen;
  m_reader->goToRecord(rec);
  // A comment that cannot be read answers as none, like the fields of a damaged entry.
  return m_reader->readEntryComment().valueOr(std::string());
}

Outcome<bool> ParcelonCtrl::IsCrypted(std::int32_t rec) {
  if (!m_reader) return ZipError::NotOpen;
  return entryAt(rec)->entry().encrypted();
}

Outcome<std::int32_t> ParcelonCtrl::OpenZip(const std::string& file) {
  if (m_reader) platform::ignoreFailure(closeEverything(), "Close reports nothing either");
  openReader(file);
  if (!m_reader) return ZipError::CouldntOpen;
  return 0;
}

Outcome<std::int32_t> ParcelonCtrl::CreateZip(const std::string& Filename,
                                              const std::string& comment) {
  if (m_writer) platform::ignoreFailure(closeEverything(), "Close reports nothing either");
  // NOTE: a comment the end record cannot carry within a reader's reach is refused before the
  // file is touched, rather than cut or written where no reader finds the archive.
  if (comment.size() > ZipWriter::kMaxArchiveComment) return ZipError::CouldntOpen;
  m_archiveComment = comment;
  auto writer = ZipWriter::create(m_files, Filename, m_limits);
  if (!writer) return ZipError::CouldntOpen;
  m_writer = std::move(*writer);
  m_archivePath = Filename;
  return 0;
}

Outcome<std::int32_t> ParcelonCtrl::Close() {
  // NOTE: a writer that could not finish its archive (a full disk) says so with -1.
  return closeEverything().ok() ? 0 : -1;
}

Outcome<std::int32_t> ParcelonCtrl::AddFile(const std::string& Filename, const std::string& comment,
                                            bool bSavePath, const std::string& passwd) {
  if (!m_writer && !m_reader) return ZipError::NotOpen;
  // The source is opened before anything changes, so that a file that cannot be read leaves
  // the control exactly as it was.
  auto source = SourceFile::open(m_files, Filename);
  if (!source) return kAddFailed;
  const std::string storedName = storedNameFor(Filename, bSavePath ? KeepPath::Yes : KeepPath::No);
  if (m_writer && passwd.empty()) {
    if (source->writeEntry(*m_writer, storedName, comment, m_status, m_parallel.get()) !=
        platform::ERROR_SUCCESS) {
      // A failed cut-back shows when the archive is closed.
      platform::ignoreFailure(m_writer->abandonEntry(), "cutting back an entry that failed");
      return kAddFailed;
    }
    return 0;
  }
  return addThroughTemporary(*source, storedName, comment, passwd);
}

// The entry is made as a one-entry archive beside the archive, encrypted when a password is
// given, and merged into the archive, which is then open for reading. Until the merge nothing
// of the control's state changes.
Outcome<std::int32_t> ParcelonCtrl::addThroughTemporary(SourceFile& source, const std::string& name,
                                                        const std::string& comment,
                                                        const std::string& passwd) {
  const std::string archive = m_archivePath;
  auto single = TemporaryFile::createBeside(m_files, archive);
  if (!single) return kAddFailed;
  if (writeSingleEntryArchive(source, single->path(), name, comment) != platform::ERROR_SUCCESS) {
    return kAddFailed;
  }
  std::optional<TemporaryFile> encrypted;
  if (!passwd.empty()) {
    auto created = TemporaryFile::createBeside(m_files, archive);
    if (!created) return kAddFailed;
    encrypted.emplace(std::move(*created));
    if (encryptArchive(m_files, single->path(), encrypted->path(), passwd, m_random, m_limits) !=
        platform::ERROR_SUCCESS) {
      return kAddFailed;
    }
  }
  // A writer finishes its archive here, with its comment, and the entry is merged into it.
  const auto closed = closeEverything();
  const std::string& addition = encrypted ? encrypted->path() : single->path();
  const auto merged = closed.ok()
                          ? mergeArchive(m_files, archive, addition, m_limits)
                          : closed;
  openReader(archive);
  return merged.ok() ? 0 : kAddFailed;
}

platform::Status ParcelonCtrl::writeSingleEntryArchive(SourceFile& source, const std::string& path,
                                                       const std::string& name,
                                                       const std::string& comment) {
  auto writer = ZipWriter::create(m_files, path, m_limits);
  if (!writer) return writer.status();
  RETURN_IF_FAILED(source.writeEntry(**writer, name, comment, m_status, m_parallel.get()));
  return (*writer)->close(std::string());
}

Outcome<std::int32_t> ParcelonCtrl::RemoveFile(const std::string& Filename) {
  if (!m_reader) return ZipError::NotOpen;
  const std::string archive = m_archivePath;
  // As with Close, a writer that is open too finishes its archive; its failure is not ours.
  platform::ignoreFailure(closeEverything(), "finishing the archive before an encryption pass");
  auto removed = removeEntries(m_files, archive, Filename);
  if (!removed) return ZipError::CouldntOpen;
  openReader(archive);
  if (*removed == 0) return ZipError::NotFound;
  return 0;
}

void ParcelonCtrl::AboutBox() {
  if (m_aboutBox) m_aboutBox(AboutBoxText{});
}

}  // namespace parcelon
