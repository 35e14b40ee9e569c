#include "entry_extraction.h"

#include <memory>
#include <optional>
#include <vector>

#include "archive_paths.h"
#include "entry_reader.h"
#include "reader_code.h"
#include "status_progress.h"
#include "temporary_file.h"

namespace parcelon {
namespace {

// Where the entry's bytes go until they are complete. A new file is written in place and
// deleted again on failure; an existing file is replaced only at the end, by renaming a fresh
// file from beside it over it. So a failure never leaves a partial file, nor harms one that was
// there.
class ExtractionOutput {
 public:
  static std::optional<ExtractionOutput> create(platform::FileSystem& files,
                                                const std::string& target) {
    auto file = files.openFile(target, platform::OpenMode::CreateNew);
    if (!file) return std::nullopt;
    return ExtractionOutput(files, target, std::move(*file), std::nullopt);
  }

  static std::optional<ExtractionOutput> replace(platform::FileSystem& files,
                                                 const std::string& target) {
    auto temporary = TemporaryFile::createBeside(files, target);
    if (!temporary) return std::nullopt;
    auto file = files.openFile(temporary->path(), platform::OpenMode::CreateTruncate);
    if (!file) return std::nullopt;
    return ExtractionOutput(files, target, std::move(*file), std::move(*temporary));
  }

  ExtractionOutput(ExtractionOutput&& other) noexcept
      : m_files(other.m_files),
        m_target(std::move(other.m_target)),
        m_file(std::move(other.m_file)),
        m_temporary(std::move(other.m_temporary)),
        m_committed(other.m_committed) {
    other.m_committed = true;  // nothing left there to discard
  }
  ExtractionOutput& operator=(ExtractionOutput&&) = delete;
  ~ExtractionOutput() {
    if (m_committed) return;
    platform::ignoreFailure(m_file->close(), "the bytes are discarded anyway");
    if (!m_temporary) {
      // Best effort: the new file is incomplete; the temporary one deletes itself.
      platform::ignoreFailure(m_files->deleteFile(m_target, platform::Force::Yes), "removing an incomplete extracted file");
    }
  }

  platform::File& file() { return *m_file; }

  [[nodiscard]] platform::Status commit() {
    const auto closed = m_file->close();
    if (closed.failed()) return closed;
    if (m_temporary) {
      if (const auto moved = m_temporary->moveTo(m_target); moved.failed()) {
        return moved;
      }
    }
    m_committed = true;
    return platform::ERROR_SUCCESS;
  }

 private:
  ExtractionOutput(platform::FileSystem& files, std::string target,
                   std::unique_ptr<platform::File> file, std::optional<TemporaryFile> temporary)
      : m_files(&files),
        m_target(std::move(target)),
        m_file(std::move(file)),
        m_temporary(std::move(temporary)) {}

  platform::FileSystem* m_files;
  std::string m_target;
  std::unique_ptr<platform::File> m_file;
  std::optional<TemporaryFile> m_temporary;
  bool m_committed = false;
};

bool endsWithSeparator(const std::string& path) {
  return !path.empty() && (path.back() == '\\' || path.back() == '/');
}

// A file can be written under this name: its folder exists, and it is new, or an existing file
// that is no folder and not read-only.
std::optional<ExtractionOutput> tryTarget(platform::FileSystem& files,
                                          const std::string& candidate) {
  if (candidate.empty() || endsWithSeparator(candidate)) return std::nullopt;
  if (auto created = ExtractionOutput::create(files, candidate)) return created;
  const auto info = files.fileInfo(candidate);
  constexpr std::uint32_t kUnwritable =
      platform::FILE_ATTRIBUTE_DIRECTORY | platform::FILE_ATTRIBUTE_READONLY;
  if (!info || (info->attributes & kUnwritable) != 0) return std::nullopt;
  return ExtractionOutput::replace(files, candidate);
}

Outcome<std::optional<ExtractionOutput>> chooseTarget(platform::FileSystem& files,
                                                      const std::string& path,
                                                      const std::string& name) {
  // NOTE: the path is usually a folder; asking that first spares a failed create per entry.
  if (!files.folderExists(path)) {
    if (auto output = tryTarget(files, path)) return output;
  }
  if (!staysInFolder(name)) return ZipError::FormatError;
  if (auto output = tryTarget(files, path + "\\" + name)) return output;
  return tryTarget(files, path + name);
}

std::optional<ZipError> openFailure(int code) {
  switch (code) {
    case kReaderWrongPassword:
      return ZipError::WrongPassword;
    case kReaderNoPassword:
      return ZipError::NoPassword;
    case kReaderEarlyEnd:
    case kReaderIoError:
      return ZipError::ReadError;
    default:
      return std::nullopt;
  }
}

// The data did not come out as stored. For an encrypted entry that is what a wrong password
// that passed the one-byte check looks like.
ZipError dataFailure(int code, bool encrypted) {
  if (code == kReaderIoError || code == kReaderEarlyEnd) return ZipError::ReadError;
  return encrypted ? ZipError::WrongPassword : ZipError::FormatError;
}

// Copies the entry and fires Status after each block of 2048 bytes.
Outcome<std::int32_t> copyEntry(EntryReader& entry, std::vector<std::uint8_t>& chunk,
                                platform::File& output, const std::string& name,
                                std::uint64_t size, bool encrypted, const StatusSink& status) {
  BlockProgress progress(status, name, size);
  for (;;) {
    const long count = entry.read(chunk.data(), chunk.size());
    if (count == 0) break;
    if (count < 0) return dataFailure(static_cast<int>(count), encrypted);
    if (output.write(chunk.data(), static_cast<std::size_t>(count)) != platform::ERROR_SUCCESS) {
      return kReaderIoError;
    }
    progress.advance(static_cast<std::size_t>(count));
  }
  if (!entry.complete()) return dataFailure(kReaderBadData, encrypted);
  return kReaderOk;
}

}  // namespace

Outcome<std::int32_t> extractEntry(platform::FileSystem& files, ZipReader& reader,
                                   const std::string& name, const std::string& path,
                                   const std::string& password, const StatusSink& status) {
  if (!reader.locate(name)) return ZipError::NotFound;
  auto chosen = chooseTarget(files, path, name);
  if (chosen.raised()) return chosen.error();
  if (!chosen.value()) return kReaderIoError;
  ExtractionOutput output = std::move(*chosen.value());

  std::unique_ptr<EntryReader> entry;
  if (const int code = EntryReader::open(reader, password, entry); code != kReaderOk) {
    if (auto error = openFailure(code)) return *error;
    return code;
  }
  const CentralHeader& header = reader.entry();
  auto copied =
      copyEntry(*entry, reader.workspace().output(), output.file(), name, header.uncompressedSize,
                header.encrypted(), status);
  if (copied.raised() || copied.value() != kReaderOk) return copied;
  if (output.commit().failed()) return kReaderIoError;
  return kReaderOk;
}

}  // namespace parcelon
