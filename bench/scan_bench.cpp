// Times the file scan (ScanForFiles, headless) against `find` printing the same matching files
// with their size and time, on one generated tree of 100,000 files in 10,000 folders, in one
// run. Prints both times and the ratio (ours / find; 1.5 or less is the aim).
#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "bench_timing.h"
#include "forms/headless_ui.h"
#include "frame/frm_main.h"
#include "context/program.h"
#include "native_machine.h"
#include "platform/clock.h"
#include "scan/mdl_file_search.h"
#include "scan/mdl_file_types.h"

namespace {

namespace fs = std::filesystem;

constexpr int kFolders = 10'000;
constexpr int kFilesPerFolder = 10;
constexpr int kFanOut = 10;
constexpr int kRounds = 3;
// Three in ten files are documents the scan looks for, in either letter case.
const char* const kExtensions[] = {"doc", "XLS", "txt", "dll", "ini",
                                   "exe", "Htm", "log", "dat", "tmp"};

using bench::measure;
using bench::Timing;

void makeFile(const fs::path& path, off_t size, std::time_t time) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0 || ::ftruncate(fd, size) != 0) {
    std::fprintf(stderr, "scan_bench: cannot write %s\n", path.c_str());
    std::exit(1);
  }
  const timespec times[2] = {{time, 0}, {time, 0}};
  ::futimens(fd, times);
  ::close(fd);
}

// Folders breadth-first, kFanOut below each, kFilesPerFolder files in each folder.
void writeTree(const fs::path& top) {
  std::deque<fs::path> parents{top};
  int folders = 0;
  long file = 0;
  while (folders < kFolders) {
    const fs::path parent = parents.front();
    parents.pop_front();
    for (int i = 0; i < kFanOut && folders < kFolders; ++i, ++folders) {
      const fs::path folder = parent / ("Folder" + std::to_string(i));
      fs::create_directory(folder);
      parents.push_back(folder);
      for (int f = 0; f < kFilesPerFolder; ++f, ++file) {
        const std::string name = "file" + std::to_string(file) + "." + kExtensions[f];
        makeFile(folder / name, static_cast<off_t>(file * 37 % 20'000),
                 978'307'200 + static_cast<std::time_t>(file) * 3'600);
      }
    }
  }
}

std::string findCommand(const fs::path& top, const std::string& patterns, const std::string& out) {
  std::string command = "find '" + top.string() + "' -type f \\(";
  std::stringstream list(patterns);
  std::string pattern;
  bool first = true;
  while (std::getline(list, pattern, ';')) {
    command += std::string(first ? "" : " -o") + " -iname '" + pattern + "'";
    first = false;
  }
  return command + " \\) -printf '%h %f %s %T@\\n' > " + out;
}

void run(const std::string& command) {
  if (std::system(command.c_str()) != 0) {
    std::fprintf(stderr, "scan_bench: failed: %s\n", command.c_str());
    std::exit(1);
  }
}

std::size_t countLines(const fs::path& file) {
  FILE* in = std::fopen(file.c_str(), "r");
  std::size_t lines = 0;
  for (int c; in != nullptr && (c = std::fgetc(in)) != EOF;) lines += c == '\n';
  if (in != nullptr) std::fclose(in);
  return lines;
}

}  // namespace

constexpr const char* kUsage =
    "Usage: scan_bench [FOLDER]\n"
    "Times the file scan against find on 100,000 generated files. FOLDER, when given, keeps the\n"
    "tree between runs: a folder that does not exist yet, or one an earlier run filled.\n";

// Only a folder this bench may fill: missing, or holding a tree an earlier run made. Anything
// else (an option, a folder with other files) is refused before a file is written.
bool acceptableFolder(const fs::path& folder) {
  std::error_code error;
  if (!fs::exists(folder, error)) return true;
  return fs::is_directory(folder, error) && fs::exists(folder / "dosdevices" / "c:", error);
}

int main(int argc, char** argv) {
  // An optional argument names a folder that keeps the tree between runs (for profiling).
  if (argc > 2 || (argc == 2 && (argv[1][0] == '-' || !acceptableFolder(argv[1])))) {
    std::fputs(kUsage, argc == 2 && std::string(argv[1]) == "--help" ? stdout : stderr);
    return argc == 2 && std::string(argv[1]) == "--help" ? 0 : 2;
  }
  const bool keep = argc > 1;
  fs::path root;
  if (keep) {
    root = fs::absolute(argv[1]);
  } else {
    char pattern[] = "/tmp/scan-bench-XXXXXX";
    if (::mkdtemp(pattern) == nullptr) return 1;
    root = pattern;
  }
  const fs::path driveC = root / "drive_c";
  if (!fs::exists(root / "dosdevices" / "c:")) {
    fs::create_directories(root / "dosdevices");
    fs::create_directories(driveC / "Program");
    std::printf("Generating %d files in %d folders in %s ...\n", kFolders * kFilesPerFolder,
                kFolders, driveC.c_str());
    writeTree(driveC);
    fs::create_symlink("../drive_c", root / "dosdevices" / "c:");
  }

  platform::SystemClock clock;
  platform::NativeMachine machine(root, clock, "C:\\Program");
  std::ostringstream log;
  forms::HeadlessUi ui(log);
  migration::Program program(machine, ui, "");
  migration::frmMain& form = program.sharedForm<migration::frmMain>();
  // Every standard type: the widest selection a technician makes.
  std::string patterns;
  for (const char* list : migration::kStandardFilePatterns) {
    patterns += (patterns.empty() ? "" : ";") + std::string(list);
  }

  const fs::path findOutput = root / "find.txt";
  Timing ours, peer;
  for (int round = 0; round < kRounds; ++round) {
    measure(ours, [&] {
      form.lvFiles.clear();
      migration::ScanForFiles(program, "C:\\", patterns);
    });
    measure(peer, [&] { run(findCommand(driveC, patterns, findOutput.string())); });
  }
  const std::size_t found = countLines(findOutput);
  if (form.lvFiles.count() != found) {
    std::fprintf(stderr, "scan_bench: the scan listed %zu files, find %zu\n", form.lvFiles.count(),
                 found);
    return 1;
  }
  std::printf("%zu matching files\n", found);
  std::printf("clock:     ours %.3f s  find %.3f s  ratio %.2f\n", ours.wall, peer.wall,
              ours.wall / peer.wall);
  std::printf("processor: ours %.3f s  find %.3f s  ratio %.2f\n", ours.cpu, peer.cpu,
              ours.cpu / peer.cpu);
  if (!keep) fs::remove_all(root);
  return 0;
}
