// Times the zip component against zip and unzip on one generated corpus, in one run:
// CreateZip + AddFile + Close against `zip -6 -q`, OpenZip + ExtractFile of every entry against
// `unzip -qq -o` (into the corpus's 37 folders, and into one flat folder). Prints MB/s, the
// ratios (peer time / our time; above 1 is faster) and the archive sizes, ours beside the one a
// single pass on one thread writes.
#include <stdlib.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "bench_corpus.h"
#include "bench_timing.h"
#include "native_machine.h"
#include "parcelon_ctrl.h"
#include "platform/clock.h"
#include "random_source.h"

namespace {

namespace fs = std::filesystem;

constexpr std::uint64_t kDefaultMegabytes = 100;
constexpr int kRounds = 4;

using bench::measure;
using bench::Timing;

struct Comparison {
  Timing ours;
  Timing peer;
};

// `prepare` runs before each round of both sides, outside the timing: clearing the last round's
// output is neither side's work.
Comparison compare(
    const std::function<void()>& ours, const std::function<void()>& peer,
    const std::function<void()>& prepare = [] {}) {
  Comparison comparison;
  for (int round = 0; round < kRounds; ++round) {
    prepare();
    // Whoever runs first right after the clearing meets the file system at its busiest: the
    // sides take turns at going first.
    if (round % 2 == 0) {
      measure(comparison.ours, ours);
      measure(comparison.peer, peer);
    } else {
      measure(comparison.peer, peer);
      measure(comparison.ours, ours);
    }
  }
  return comparison;
}

void run(const std::string& command) {
  if (std::system(command.c_str()) != 0) {
    std::fprintf(stderr, "parcelon_bench: failed: %s\n", command.c_str());
    std::exit(1);
  }
}

void expectZero(const parcelon::Outcome<std::int32_t>& outcome) {
  if (outcome.raised() || outcome.value() != 0) {
    std::fprintf(stderr, "parcelon_bench: a method of the control failed\n");
    std::exit(1);
  }
}

std::string windowsPath(const fs::path& relative) {
  std::string text = relative.string();
  for (char& c : text) {
    if (c == '/') c = '\\';
  }
  return text;
}

// A machine whose drive C: is the bench folder.
struct BenchMachine {
  explicit BenchMachine(const fs::path& root) : machine(root, clock, "C:\\") {}
  platform::SystemClock clock;
  platform::NativeMachine machine;
};

void printLine(const char* what, double megabytes, const Timing& ours, const Timing& peer) {
  std::printf(
      "%-10s clock: ours %6.1f MB/s  peer %6.1f MB/s  ratio %.2f   "
      "processor: ours %6.1f MB/s  peer %6.1f MB/s  ratio %.2f\n",
      what, megabytes / ours.wall, megabytes / peer.wall, peer.wall / ours.wall,
      megabytes / ours.cpu, megabytes / peer.cpu, peer.cpu / ours.cpu);
}

// The corpus size in MB from the optional argument; 0 when the argument is no size.
std::uint64_t corpusMegabytes(int argc, char** argv) {
  if (argc == 1) return kDefaultMegabytes;
  char* end = nullptr;
  const std::uint64_t wanted = std::strtoull(argv[1], &end, 10);
  return argc > 2 || *end != '\0' ? 0 : wanted;
}

// A fresh machine root under /tmp whose drive C: holds the corpus folder.
fs::path makeMachineRoot() {
  char pattern[] = "/tmp/parcelon-bench-XXXXXX";
  if (::mkdtemp(pattern) == nullptr) {
    std::fprintf(stderr, "parcelon_bench: cannot make a folder in /tmp\n");
    std::exit(1);
  }
  const fs::path root = pattern;
  fs::create_directories(root / "dosdevices");
  fs::create_directories(root / "drive_c" / "corpus");
  fs::create_symlink("../drive_c", root / "dosdevices" / "c:");
  return root;
}

Comparison timeWriting(parcelon::ParcelonCtrl& control, const fs::path& driveC,
                       const std::vector<bench::CorpusFile>& corpus) {
  return compare(
      [&] {
        expectZero(control.CreateZip("C:\\ours.zip", ""));
        for (const auto& file : corpus) {
          expectZero(control.AddFile("C:\\corpus\\" + windowsPath(file.relative), "", true, ""));
        }
        expectZero(control.Close());
      },
      [&] {
        fs::remove(driveC / "peer.zip");
        run("cd '" + (driveC / "corpus").string() + "' && zip -6 -q -r ../peer.zip .");
      });
}

// Writes the archive once, untimed: the flat one, or the one a single pass makes to compare
// sizes with.
void writeArchive(parcelon::ParcelonCtrl& control, const std::string& archive,
                  const std::vector<bench::CorpusFile>& corpus, bool keepPaths) {
  expectZero(control.CreateZip(archive, ""));
  for (const auto& file : corpus) {
    expectZero(control.AddFile("C:\\corpus\\" + windowsPath(file.relative), "", keepPaths, ""));
  }
  expectZero(control.Close());
}

// Both extract our archive `archive` into the folders out_ours and out_peer below drive C:;
// the folders `folders` below them exist beforehand, as the program creates them.
Comparison timeExtracting(parcelon::ParcelonCtrl& control, const fs::path& driveC,
                          const std::string& archive, const std::string& out,
                          const std::vector<std::string>& folders) {
  const auto prepare = [&] {
    for (const std::string side : {"_ours", "_peer"}) {
      fs::remove_all(driveC / (out + side));
      fs::create_directories(driveC / (out + side));
      for (const std::string& folder : folders)
        fs::create_directories(driveC / (out + side) / folder);
    }
  };
  return compare(
      [&] {
        expectZero(control.OpenZip("C:\\" + archive));
        const std::int32_t count = control.FileCount().value();
        for (std::int32_t rec = 0; rec < count; ++rec) {
          expectZero(
              control.ExtractFile(control.Filename(rec).value(), "C:\\" + out + "_ours", ""));
        }
        expectZero(control.Close());
      },
      [&] {
        run("unzip -qq -o '" + (driveC / archive).string() + "' -d '" +
            (driveC / (out + "_peer")).string() + "'");
      },
      prepare);
}

double megabytesOf(const fs::path& path) {
  return static_cast<double>(fs::file_size(path)) / 1048576.0;
}

}  // namespace

int main(int argc, char** argv) {
  // An optional argument sets the corpus size in MB (smaller for profiling).
  const std::uint64_t megabytesWanted = corpusMegabytes(argc, argv);
  if (megabytesWanted == 0) {
    std::fprintf(stderr, "usage: parcelon_bench [MB]   (corpus size, default %llu)\n",
                 static_cast<unsigned long long>(kDefaultMegabytes));
    return 2;
  }
  const fs::path root = makeMachineRoot();
  const fs::path driveC = root / "drive_c";

  std::printf("Generating the corpus in %s ...\n", driveC.c_str());
  const auto corpus = bench::writeCorpus(driveC / "corpus", megabytesWanted * 1024 * 1024, 2001);
  std::uint64_t bytes = 0;
  for (const auto& file : corpus) bytes += file.size;
  const double megabytes = static_cast<double>(bytes) / (1024.0 * 1024.0);
  std::printf("%zu files, %.1f MB\n\n", corpus.size(), megabytes);

  BenchMachine bench(root);
  parcelon::FunctionRandomSource random([] { return 12345u; });
  parcelon::ParcelonCtrl control(bench.machine.files(), random, parcelon::ArchiveLimits{},
                                 bench.machine.threads());
  const Comparison writing = timeWriting(control, driveC, corpus);
  std::vector<std::string> folders;
  for (int i = 0; i < 37; ++i) folders.push_back("corpus/folder" + std::to_string(i));
  const Comparison extracting = timeExtracting(control, driveC, "ours.zip", "out", folders);
  run("diff -rq '" + (driveC / "out_ours" / "corpus").string() + "' '" +
      (driveC / "corpus").string() + "'");

  // Every file by its bare name into one folder, as a restore into "My Documents" does.
  writeArchive(control, "C:\\flat.zip", corpus, false);
  const Comparison flat = timeExtracting(control, driveC, "flat.zip", "flat", {});
  run("cmp -s '" + (driveC / "flat_ours" / corpus.back().relative.filename()).string() + "' '" +
      (driveC / "corpus" / corpus.back().relative).string() + "'");

  parcelon::ParcelonCtrl onePass(bench.machine.files(), random);
  writeArchive(onePass, "C:\\single.zip", corpus, true);

  const double ours = megabytesOf(driveC / "ours.zip");
  const double single = megabytesOf(driveC / "single.zip");
  std::printf(
      "archive    ours %.2f MB   one pass on one thread %.2f MB (ours %+.2f%%)   peer %.2f MB\n",
      ours, single, (ours / single - 1.0) * 100.0, megabytesOf(driveC / "peer.zip"));
  printLine("writing", megabytes, writing.ours, writing.peer);
  printLine("extracting", megabytes, extracting.ours, extracting.peer);
  printLine("flat", megabytes, flat.ours, flat.peer);
  std::printf("(flat: the %zu files by their bare names into one folder)\n", corpus.size());
  fs::remove_all(root);
  return 0;
}
