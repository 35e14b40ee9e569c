// Fills one folder with 20,000 files through the platform layer and prints the time per file
// at the start and at the end: a new name must cost the same in a full folder as in an empty
// one (the end within 1.5 times the start is the aim). Each file is made as a restore makes
// it: a lookup of its name in another case (missing), a fresh temporary name, the data, and a
// rename to its own name.
#include <stdlib.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "native_machine.h"
#include "platform/clock.h"
#include "platform/text_file.h"

namespace {

namespace fs = std::filesystem;

constexpr int kFiles = 20'000;
constexpr int kWindow = 1'000;  // files timed at the start and at the end

void fail(const std::string& what) {
  std::fprintf(stderr, "folder_fill_bench: %s\n", what.c_str());
  std::exit(1);
}

fs::path makeMachineRoot() {
  char pattern[] = "/tmp/folder-fill-bench-XXXXXX";
  if (::mkdtemp(pattern) == nullptr) fail("cannot make a folder in /tmp");
  const fs::path root = pattern;
  fs::create_directories(root / "dosdevices");
  fs::create_directories(root / "drive_c" / "Fill");
  fs::create_symlink("../drive_c", root / "dosdevices" / "c:");
  return root;
}

std::string fileName(int index) {
  char name[32];
  std::snprintf(name, sizeof name, "Document %05d.txt", index);
  return name;
}

// One file, made the way an extraction makes it.
void makeFile(platform::FileSystem& files, int index) {
  const std::string target = "C:\\Fill\\" + fileName(index);
  std::string other = target;
  for (char& c : other) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  if (files.fileExists(other)) fail("found before it was made: " + other);
  auto temporary = files.createTemporaryFile("C:\\Fill", "fil");
  if (!temporary) fail("no temporary file");
  if (platform::writeWholeFile(files, *temporary, "contents of " + target) !=
      platform::ERROR_SUCCESS) {
    fail("cannot write " + *temporary);
  }
  if (files.moveFile(*temporary, target, platform::Overwrite::No) != platform::ERROR_SUCCESS) {
    fail("cannot rename to " + target);
  }
}

// NOTE: the machine is shared, and a file that meets another program's burst costs many times
// the usual: the median shows the usual cost, the mean what the bursts add.
struct Window {
  double median = 0;
  double mean = 0;
};

Window summary(std::vector<double> times) {
  Window window;
  for (double time : times) window.mean += time / static_cast<double>(times.size());
  std::nth_element(times.begin(), times.begin() + times.size() / 2, times.end());
  window.median = times[times.size() / 2];
  return window;
}

}  // namespace

int main() {
  const fs::path root = makeMachineRoot();
  platform::SystemClock clock;
  platform::NativeMachine machine(root, clock, "C:\\");
  platform::FileSystem& files = machine.files();

  using Clock = std::chrono::steady_clock;
  std::vector<double> start;
  std::vector<double> end;
  const auto begin = Clock::now();
  for (int i = 0; i < kFiles; ++i) {
    const auto before = Clock::now();
    makeFile(files, i);
    const std::chrono::duration<double, std::micro> took = Clock::now() - before;
    if (i < kWindow) start.push_back(took.count());
    if (i >= kFiles - kWindow) end.push_back(took.count());
  }
  const std::chrono::duration<double> total = Clock::now() - begin;

  std::printf("%d files into one folder in %.2f s\n", kFiles, total.count());
  const Window first = summary(start);
  const Window last = summary(end);
  std::printf("per file, first %d: median %.1f us, mean %.1f us\n", kWindow, first.median,
              first.mean);
  std::printf("per file, last %d:  median %.1f us, mean %.1f us\n", kWindow, last.median,
              last.mean);
  std::printf("last / first: median %.2f, mean %.2f (aim: 1.5 or less)\n",
              last.median / first.median, last.mean / first.mean);
  fs::remove_all(root);
  return 0;
}
