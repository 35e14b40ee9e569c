// Times the restore of the archived documents (RestoreFilesAlso, headless, through the zip
// component) against `unzip -o` of the same archive into an empty folder, in one run, on a
// generated corpus of about 5,000 files and 200 MB archived with their folders. The report's
// check of every restored file (size and CRC-32 against the archive) is timed on its own.
// Prints each side's rounds, the best of each, and the ratios (ours / unzip; 1.2 or less is the
// aim). An argument gives the corpus size in MB.
#include <stdlib.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "bench_corpus.h"
#include "bench_timing.h"
#include "context/program.h"
#include "forms/headless_ui.h"
#include "frame/frm_main.h"
#include "native_machine.h"
#include "platform/clock.h"
#include "restore/archive_restore.h"
#include "restore/restore_report.h"

namespace {

namespace fs = std::filesystem;

constexpr std::uint64_t kDefaultMegabytes = 200;
constexpr int kRounds = 5;

using bench::Timing;

void run(const std::string& command) {
  if (std::system(command.c_str()) != 0) {
    std::fprintf(stderr, "restore_bench: failed: %s\n", command.c_str());
    std::exit(1);
  }
}

// In $TMPDIR (/tmp when unset): TMPDIR=/dev/shm keeps the disk's write-back out of the figures.
fs::path makeMachineRoot() {
  const char* base = std::getenv("TMPDIR");
  std::string pattern =
      std::string(base != nullptr && *base != '\0' ? base : "/tmp") + "/restore-bench-XXXXXX";
  if (::mkdtemp(pattern.data()) == nullptr) {
    std::fprintf(stderr, "restore_bench: cannot make a folder in %s\n", pattern.c_str());
    std::exit(1);
  }
  const fs::path root = pattern;
  fs::create_directories(root / "dosdevices");
  fs::create_directories(root / "drive_c" / "Data");
  fs::create_directories(root / "drive_c" / "Program");
  fs::create_directories(root / "drive_c" / "migrate" / "jsmith" / "migration");
  fs::create_symlink("../drive_c", root / "dosdevices" / "c:");
  fs::create_symlink(PARCELON_LIBRARY_PATH,
                     root / "drive_c" / "Program" / fs::path(PARCELON_LIBRARY_PATH).filename());
  return root;
}

// Seconds of one round, by side.
struct Rounds {
  std::vector<double> wall;
  Timing best;
  void add(const std::function<void()>& work) {
    Timing one;
    bench::measure(one, work);
    wall.push_back(one.wall);
    best.wall = std::min(best.wall, one.wall);
    best.cpu = std::min(best.cpu, one.cpu);
  }
  std::string list() const {
    std::ostringstream out;
    out.precision(3);
    for (const double seconds : wall) out << std::fixed << seconds << " ";
    return out.str();
  }
};

// Entries (files and folders alike) that the two restores left, compared by size.
bool sameTrees(const fs::path& ours, const fs::path& peer, std::size_t& files) {
  files = 0;
  for (const auto& entry : fs::recursive_directory_iterator(peer)) {
    if (!entry.is_regular_file()) continue;
    const fs::path mine = ours / fs::relative(entry.path(), peer);
    if (!fs::exists(mine) || fs::file_size(mine) != entry.file_size()) return false;
    ++files;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  const std::uint64_t megabytes =
      argc > 1 ? std::strtoull(argv[1], nullptr, 10) : kDefaultMegabytes;
  const fs::path root = makeMachineRoot();
  const fs::path driveC = root / "drive_c";
  std::printf("Generating %llu MB of documents ...\n", static_cast<unsigned long long>(megabytes));
  const auto corpus = bench::writeCorpus(driveC / "Data", megabytes << 20, 20010601);
  const fs::path archive = driveC / "migrate" / "jsmith" / "migfiles.mig";
  run("cd '" + driveC.string() + "' && zip -6 -q -r '" + archive.string() + "' Data");
  fs::remove_all(driveC / "Data");
  std::ofstream(driveC / "migrate" / "jsmith" / "migration" / "oldfile.cfg", std::ios::binary)
      << "C:\\migrate\\jsmith\\migfiles.mig\r\nTrue\r\n";
  std::printf("%zu files, archive of %.1f MB\n", corpus.size(),
              static_cast<double>(fs::file_size(archive)) / (1 << 20));

  platform::SystemClock clock;
  platform::NativeMachine machine(root, clock, "C:\\Program");
  std::ostringstream messages;
  forms::HeadlessUi ui(messages);
  migration::Program program(machine, ui, "");
  program.session.strOS = "Windows_NT";
  program.session.strUserName = "jsmith";
  migration::frmMain& form = program.sharedForm<migration::frmMain>();
  if (!form.xZip) {
    std::fprintf(stderr, "restore_bench: the zip component cannot be loaded\n");
    fs::remove_all(root);
    return 1;
  }
  form.txtMigFile.setText("C:\\migrate\\jsmith\\migration\\master.mig");

  const fs::path peerFolder = root / "unzipped";
  Rounds ours, peer, report;
  std::size_t notArrived = 0;
  for (int round = 0; round < kRounds; ++round) {
    // Each side starts from an empty folder; the two take turns at going first.
    fs::remove_all(driveC / "Data");
    fs::remove_all(peerFolder);
    fs::create_directories(peerFolder);
    auto restoreOurs = [&] {
      migration::ArchiveRestore restored;
      ours.add([&] { restored = migration::RestoreArchivedFiles(program); });
      migration::RestoreReport checked;
      report.add([&] { migration::ReconcileArchive(machine.files(), restored, checked); });
      notArrived += checked.complete() ? 0 : 1;
    };
    auto restorePeer = [&] {
      peer.add(
          [&] { run("unzip -qq -o '" + archive.string() + "' -d '" + peerFolder.string() + "'"); });
    };
    if (round % 2 == 0) {
      restoreOurs();
      restorePeer();
    } else {
      restorePeer();
      restoreOurs();
    }
  }
  std::size_t files = 0;
  if (notArrived > 0 || !sameTrees(driveC, peerFolder, files) || files != corpus.size()) {
    std::fprintf(stderr, "restore_bench: the restores differ (%zu rounds incomplete, %zu files)\n",
                 notArrived, files);
    fs::remove_all(root);
    return 1;
  }
  std::printf("rounds (s): RestoreFilesAlso %s\n", ours.list().c_str());
  std::printf("            unzip -o         %s\n", peer.list().c_str());
  std::printf("            report's check   %s\n", report.list().c_str());
  std::printf("clock:     ours %.3f s  unzip %.3f s  ratio %.2f   with the check %.2f\n",
              ours.best.wall, peer.best.wall, ours.best.wall / peer.best.wall,
              (ours.best.wall + report.best.wall) / peer.best.wall);
  std::printf("processor: ours %.3f s  unzip %.3f s  ratio %.2f   with the check %.2f\n",
              ours.best.cpu, peer.best.cpu, ours.best.cpu / peer.best.cpu,
              (ours.best.cpu + report.best.cpu) / peer.best.cpu);
  fs::remove_all(root);
  return 0;
}
