// The zip reader on any bytes: the archive is opened, every record query answers for every
// record (and for numbers outside the archive), the central directory is walked header by
// header, and every entry is extracted into C:\scratch\out, with and without a password. An
// extracted file has the size its entry says, and nothing outside C:\scratch is written.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_check.h"
#include "parcelon_ctrl.h"
#include "random_source.h"
#include "reader_code.h"
#include "scratch_machine.h"
#include "zip_reader.h"

namespace {

constexpr const char* kArchive = "C:\\scratch\\input.zip";
constexpr const char* kOut = "C:\\scratch\\out";
// A folder inside it, so that entries stored with a path ("in/x.txt", as the seeds hold) land too.
constexpr const char* kOutFolder = "C:\\scratch\\out\\in";
// The password the seeds' encrypted entries were made with.
constexpr const char* kPassword = "pw";
// Bounds that keep one input fast: the records asked about and the entries extracted.
constexpr std::int32_t kMaxRecords = 300;
constexpr std::int32_t kMaxExtracted = 40;
constexpr std::uint32_t kMaxExtractedSize = 4u << 20;

struct Bench {
  fuzz::ScratchMachine machine;
  std::uint32_t nextRandom = 1;
  parcelon::FunctionRandomSource random{[this] { return nextRandom++ * 40503u; }};
};

Bench& bench() {
  static Bench instance;
  return instance;
}

void queryEveryRecord(parcelon::ParcelonCtrl& control, std::int32_t count) {
  for (std::int32_t rec = -2; rec <= std::min(count, kMaxRecords) + 1; ++rec) {
    fuzz::check(!control.Filename(rec).raised(), "Filename answers");
    fuzz::check(!control.FileSize(rec).raised(), "FileSize answers");
    fuzz::check(!control.FileSizeZ(rec).raised(), "FileSizeZ answers");
    fuzz::check(!control.FileDate(rec).raised(), "FileDate answers");
    fuzz::check(!control.FileComment(rec).raised(), "FileComment answers");
    fuzz::check(!control.IsCrypted(rec).raised(), "IsCrypted answers");
  }
}

// Header by header, as the reader walks the directory; every name found is found again by name.
void walkDirectory(platform::FileSystem& files) {
  auto opened = parcelon::ZipReader::open(files, kArchive);
  fuzz::check(opened.ok(), "an archive the control opened opens again");
  parcelon::ZipReader& reader = **opened;
  int code = reader.goToFirst();
  for (std::int32_t steps = 0; code == parcelon::kReaderOk && steps < kMaxRecords; ++steps) {
    fuzz::check(reader.entryValid(), "a header read without failure is valid");
    const parcelon::CentralHeader header = reader.entry();
    const std::string name = reader.entryName();
    // A name stored in UTF-8 is handed out in the host's code page, so only other names keep
    // the length their header gives.
    const bool utf8 = (header.flags & parcelon::kFlagUtf8Text) != 0;
    fuzz::check(utf8 || name.size() == header.nameLength, "the name has the length its header gives");
    platform::ignoreFailure(reader.readEntryComment(), "a comment past the end of the file");
    const std::int32_t index = reader.index();
    reader.goToRecord(index);
    fuzz::check(reader.index() == index && reader.entryName() == name, "records are revisited");
    fuzz::check(reader.locate(name), "an entry is found by its own name");
    fuzz::check(parcelon::namesMatch(reader.entryName(), name), "locate stops on a match");
    reader.goToRecord(index);
    code = reader.goToNext();
  }
}

void extractEveryEntry(parcelon::ParcelonCtrl& control, platform::FileSystem& files,
                       std::int32_t count) {
  for (std::int32_t rec = 0; rec < std::min(count, kMaxExtracted); ++rec) {
    const auto size = control.FileSize(rec);
    if (static_cast<std::uint32_t>(size.value()) > kMaxExtractedSize) continue;
    const std::string name = control.Filename(rec).value();
    const bool crypted = control.IsCrypted(rec).value();
    const auto extracted = control.ExtractFile(name, kOut, crypted ? kPassword : "");
    if (extracted.raised() || extracted.value() != parcelon::kReaderOk) continue;
    // Filename stood the reader on this record and locate looks there first, so this entry was
    // the one extracted, to one of the two places a folder path gives.
    auto written = files.fileInfo(std::string(kOut) + "\\" + name);
    if (!written) written = files.fileInfo(std::string(kOut) + name);
    fuzz::check(written.ok(), "an extracted entry is a file: " + name);
    fuzz::check(written->size == static_cast<std::uint32_t>(size.value()),
                "an extracted entry has its size: " + name);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Bench& b = bench();
  b.machine.resetScratch({kOut, kOutFolder});
  b.machine.writeHostFile(kArchive, std::string(reinterpret_cast<const char*>(data), size));
  {
    parcelon::ParcelonCtrl control(b.machine.files(), b.random);
    const auto opened = control.OpenZip(kArchive);
    if (opened.raised()) {
      fuzz::check(opened.error() == parcelon::ZipError::CouldntOpen, "OpenZip fails as 53");
      fuzz::check(control.FileCount().raised(), "a control without an archive raises");
    } else {
      const std::int32_t count = control.FileCount().value();
      queryEveryRecord(control, count);
      walkDirectory(b.machine.files());
      extractEveryEntry(control, b.machine.files(), count);
      fuzz::check(!control.Close().raised(), "Close answers");
    }
  }
  b.machine.checkNothingWrittenOutside();
  return 0;
}
