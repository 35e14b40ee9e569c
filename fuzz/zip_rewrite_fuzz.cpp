// Removal and merging on any bytes: the archive is opened, the first entry's name removed, and a
// file added to it twice (plainly and with a password), both of which merge into the archive. A
// step that fails leaves the archive byte for byte as it was and no temporary file behind; a
// step that succeeds leaves an archive that opens, without the removed name, or with the added
// file as its last entry and the file's bytes inside. Nothing outside C:\scratch is written.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

#include "fuzz_check.h"
#include "parcelon_ctrl.h"
#include "platform/text_file.h"
#include "random_source.h"
#include "reader_code.h"
#include "scratch_machine.h"
#include "zip_reader.h"

namespace {

constexpr const char* kArchive = "C:\\scratch\\input.zip";
constexpr const char* kOut = "C:\\scratch\\out";
constexpr const char* kSource = "C:\\source\\parcelon-fuzz-addition.txt";
constexpr const char* kAddedName = "parcelon-fuzz-addition.txt";
constexpr const char* kPassword = "pw";

struct Bench {
  Bench() {
    machine.test().writeFile(kSource, sourceBytes);
    machine.resetScratch();
  }
  fuzz::ScratchMachine machine;
  std::string sourceBytes = "A file added to a damaged archive.\r\nIts second line.\r\n";
  std::uint32_t nextRandom = 1;
  parcelon::FunctionRandomSource random{[this] { return nextRandom++ * 40503u; }};
};

Bench& bench() {
  static Bench instance;
  return instance;
}

std::string archiveBytes(platform::FileSystem& files) {
  return platform::readWholeFile(files, kArchive).valueOr("(unreadable)");
}

// Only the archive and the output folder: nothing a failed rewrite left behind.
void checkNoTemporaryLeft(Bench& b) {
  auto entries = b.machine.files().listFolder(fuzz::ScratchMachine::kScratch);
  fuzz::check(entries.ok(), "the scratch folder lists");
  for (const auto& entry : *entries) {
    fuzz::check(entry.name == "input.zip" || entry.name == "out", "left behind: " + entry.name);
  }
}

bool holdsName(platform::FileSystem& files, const std::string& name) {
  auto reader = parcelon::ZipReader::open(files, kArchive);
  fuzz::check(reader.ok(), "a rewritten archive opens");
  return (*reader)->locate(name);
}

// Every header the end record counts reads, and together they fill the directory exactly: only
// then does a header appended to the directory follow the last of them.
bool directoryIsWhole(platform::FileSystem& files) {
  auto opened = parcelon::ZipReader::open(files, kArchive);
  if (!opened) return false;
  parcelon::ZipReader& reader = **opened;
  std::uint64_t length = 0;
  for (std::uint32_t i = 0; i < reader.entryCount(); ++i) {
    if ((i == 0 ? reader.goToFirst() : reader.goToNext()) != parcelon::kReaderOk) return false;
    length += reader.entry().recordLength();
  }
  return length == reader.layout().end.centralSize;
}

void removeFirstName(Bench& b, parcelon::ParcelonCtrl& control) {
  platform::FileSystem& files = b.machine.files();
  const std::string name = control.Filename(0).value();
  const std::string before = archiveBytes(files);
  const auto removed = control.RemoveFile(name);
  if (removed.raised()) {
    fuzz::check(removed.error() == parcelon::ZipError::CouldntOpen ||
                    removed.error() == parcelon::ZipError::NotFound,
                "RemoveFile raises 53 or 32004");
    fuzz::check(archiveBytes(files) == before, "a failed removal leaves the archive as it was");
  } else {
    fuzz::check(control.readerOpen(), "the archive is open again after a removal");
    fuzz::check(!holdsName(files, name), "no entry of the removed name is left: " + name);
  }
  checkNoTemporaryLeft(b);
}

void addSource(Bench& b, parcelon::ParcelonCtrl& control, const std::string& password) {
  platform::FileSystem& files = b.machine.files();
  const std::string before = archiveBytes(files);
  const bool whole = directoryIsWhole(files);
  const auto added = control.AddFile(kSource, "", false, password);
  fuzz::check(!added.raised(), "AddFile answers on an open archive");
  if (added.value() != 0 || !whole) {
    // A directory that cannot be walked takes no entry: one appended after it would be out of
    // reach of every reader.
    fuzz::check(added.value() == -1, "AddFile fails with -1");
    fuzz::check(archiveBytes(files) == before, "a failed merge leaves the archive as it was");
  } else {
    fuzz::check(control.readerOpen(), "the archive is open again after a merge");
    const std::int32_t last = control.FileCount().value() - 1;
    fuzz::check(control.Filename(last).value() == kAddedName, "the added file is the last entry");
    const auto extracted = control.ExtractFile(kAddedName, kOut, password);
    fuzz::check(!extracted.raised() && extracted.value() == 0, "the added file extracts");
    fuzz::check(platform::readWholeFile(files, std::string(kOut) + "\\" + kAddedName).valueOr("") ==
                    b.sourceBytes,
                "the added file comes back as it was");
    platform::ignoreFailure(files.deleteFile(std::string(kOut) + "\\" + kAddedName, platform::Force::Yes),
                            "the next extraction replaces it anyway");
  }
  checkNoTemporaryLeft(b);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Bench& b = bench();
  b.machine.resetScratch({kOut});
  b.machine.writeHostFile(kArchive, std::string(reinterpret_cast<const char*>(data), size));
  {
    parcelon::ParcelonCtrl control(b.machine.files(), b.random);
    if (control.OpenZip(kArchive).raised()) {
      fuzz::check(control.RemoveFile("x").raised() && control.AddFile(kSource, "", false, "").raised(),
                  "a control without an archive raises");
    } else {
      removeFirstName(b, control);
      // A removal that could not read the archive leaves the control without one.
      if (control.readerOpen() || !control.OpenZip(kArchive).raised()) {
        addSource(b, control, "");
        if (control.readerOpen()) addSource(b, control, kPassword);
      }
    }
    fuzz::check(!control.Close().raised(), "Close answers");
  }
  b.machine.checkNothingWrittenOutside();
  return 0;
}
