// Times the zip component against zip and unzip on one generated corpus, in one run:
// CreateZip + AddFile + Close against `zip -6 -q`, and OpenZip + ExtractFile of every entry
// against `unzip -qq -o`. Prints MB/s and the ratios (ours / peer; above 1 is faster).
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

// Both extract our archive; the folders exist beforehand, as the program creates them.
Comparison timeExtracting(parcelon::ParcelonCtrl& control, const fs::path& driveC) {
  const auto prepare = [&] {
    for (const char* out : {"out_ours", "out_peer"}) {
      fs::remove_all(driveC / out);
      for (int i = 0; i < 37; ++i)
        fs::create_directories(driveC / out / "corpus" / ("folder" + std::to_string(i)));
    }
  };
  return compare(
      [&] {
        expectZero(control.OpenZip("C:\\ours.zip"));
        const std::int32_t count = control.FileCount().value();
        for (std::int32_t rec = 0; rec < count; ++rec) {
          expectZero(control.ExtractFile(control.Filename(rec).value(), "C:\\out_ours", ""));
        }
        expectZero(control.Close());
      },
      [&] {
        run("unzip -qq -o '" + (driveC / "ours.zip").string() + "' -d '" +
            (driveC / "out_peer").string() + "'");
      },
      prepare);
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
  const Comparison extracting = timeExtracting(control, driveC);
  run("diff -rq '" + (driveC / "out_ours" / "corpus").string() + "' '" +
      (driveC / "corpus").string() + "'");

  std::printf("archive   ours %.1f MB   peer %.1f MB\n",
              static_cast<double>(fs::file_size(driveC / "ours.zip")) / 1048576.0,
              static_cast<double>(fs::file_size(driveC / "peer.zip")) / 1048576.0);
  printLine("writing", megabytes, writing.ours, writing.peer);
  printLine("extracting", megabytes, extracting.ours, extracting.peer);
  fs::remove_all(root);
  return 0;
}
