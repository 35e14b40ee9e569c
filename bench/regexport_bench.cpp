// Times the REGEDIT4 export (ExportRegistryKey) of a generated key tree of 50,000 values of mixed
// types and sizes against Wine's `regedit /e` of the same key on the same Wine prefix, in one
// run: the tree is made on a machine of ours, carried into a fresh prefix by our export and
// `regedit /s`, and both sides then export it from the prefix. Prints values per second and the
// ratio (ours / Wine's time; below 1 is faster). Without Wine it times ours alone.
#include <stdlib.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "bench_timing.h"
#include "capture/reg_export.h"
#include "native_machine.h"
#include "platform/clock.h"
#include "platform/testing/wine_prefix.h"

namespace {

namespace fs = std::filesystem;

using bench::measure;
using bench::Timing;

constexpr const char* kTreeKey = "Software\\TransvaleBench";
constexpr int kGroups = 20;
constexpr int kKeysPerGroup = 25;
constexpr int kValuesPerKey = 100;
constexpr int kValues = kGroups * kKeysPerGroup * kValuesPerKey;
constexpr int kRounds = 3;

// A small deterministic generator, so that every run exports the same tree.
class Random {
 public:
  std::uint32_t next() {
    m_state = m_state * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<std::uint32_t>(m_state >> 33);
  }
  std::uint32_t below(std::uint32_t bound) { return next() % bound; }

 private:
  std::uint64_t m_state = 20240601;
};

std::string text(Random& random, std::size_t length) {
  static const char kChars[] = "abcdefghijklmnopqrstuvwxyz ABCDEFGHIJ0123456789\\\"%.,-";
  std::string out(length, ' ');
  for (char& c : out) c = kChars[random.below(sizeof kChars - 1)];
  return out;
}

std::string bytes(Random& random, std::size_t length) {
  std::string out(length, '\0');
  for (char& c : out) c = static_cast<char>(random.below(256));
  return out;
}

// Value i of a key: text most often, then numbers, binary data (one in fifty larger than the
// export's first buffer), expandable and multiple texts, Office program paths.
std::pair<platform::DWORD, std::string> valueOf(Random& random, int i) {
  switch (i % 10) {
    case 0:
    case 1:
    case 2:
      return {platform::REG_SZ, text(random, 8 + random.below(60)) + '\0'};
    case 3:
      return {platform::REG_SZ, "C:\\Program Files\\Microsoft Office\\Office\\" +
                                    text(random, 6 + random.below(20)) + ".exe" + '\0'};
    case 4:
    case 5:
      return {platform::REG_DWORD, bytes(random, 4)};
    case 6:
      return {platform::REG_BINARY, bytes(random, i % 50 == 6 ? 2000 : 8 + random.below(120))};
    case 7:
      return {platform::REG_EXPAND_SZ,
              "%SystemRoot%\\" + text(random, 10 + random.below(30)) + '\0'};
    case 8:
      return {platform::REG_MULTI_SZ, text(random, 12) + '\0' + text(random, 20) + '\0' + '\0'};
    default:
      return {platform::REG_QWORD, bytes(random, 8)};
  }
}

std::string twoDigits(int n) { return (n < 10 ? "0" : "") + std::to_string(n); }

void fail(const std::string& what) {
  std::fprintf(stderr, "regexport_bench: %s\n", what.c_str());
  std::exit(1);
}

void writeTree(platform::Registry& registry) {
  Random random;
  for (int group = 0; group < kGroups; ++group) {
    for (int k = 0; k < kKeysPerGroup; ++k) {
      const std::string path =
          std::string(kTreeKey) + "\\Group" + twoDigits(group) + "\\Key" + twoDigits(k);
      platform::HKEY key = 0;
      if (registry.RegCreateKeyExA(platform::HKEY_CURRENT_USER, path.c_str(),
                                   platform::KEY_ALL_ACCESS, &key, nullptr)
              .failed()) {
        fail("cannot create " + path);
      }
      for (int i = 0; i < kValuesPerKey; ++i) {
        // Names in sorted order, as Wine keeps them: both exports then list values alike.
        const std::string name = "Value" + twoDigits(i / 10) + std::to_string(i % 10);
        const auto [type, data] = valueOf(random, i);
        if (registry.RegSetValueExA(key, name.c_str(), type,
                                    reinterpret_cast<const platform::BYTE*>(data.data()),
                                    static_cast<platform::DWORD>(data.size()))
                .failed()) {
          fail("cannot set " + name);
        }
      }
      platform::ignoreFailure(registry.RegCloseKey(key), "closing a key of the bench's tree");
    }
  }
}

migration::ExportReport exportTree(platform::Machine& machine, const std::string& file) {
  migration::ExportContext context{machine.registry(), machine.files(), machine.environment(),
                                   [] {}, [] { return "2000000000"; }};
  return migration::ExportRegistryKey(context, platform::HKEY_CURRENT_USER, kTreeKey, file);
}

void checkReport(const migration::ExportReport& report) {
  if (report.valuesWritten != static_cast<std::size_t>(kValues) || !report.complete()) {
    fail("the export wrote " + std::to_string(report.valuesWritten) +
         " values: " + migration::DescribeExport(report).back());
  }
}

fs::path makeMachineRoot() {
  char pattern[] = "/tmp/regexport-bench-XXXXXX";
  if (::mkdtemp(pattern) == nullptr) fail("no temporary folder");
  const fs::path root = pattern;
  fs::create_directories(root / "dosdevices");
  fs::create_directories(root / "drive_c");
  fs::create_symlink("../drive_c", root / "dosdevices" / "c:");
  return root;
}

void print(const char* label, const Timing& timing) {
  std::printf("%-22s %8.3f s clock  %8.3f s processor  %9.0f values/s\n", label, timing.wall,
              timing.cpu, kValues / timing.wall);
}

}  // namespace

int main() {
  platform::SystemClock clock;
  const fs::path sourceRoot = makeMachineRoot();
  std::printf("Generating %d values in %d keys ...\n", kValues, kGroups * kKeysPerGroup);
  {
    platform::NativeMachine source(sourceRoot, clock, "C:\\");
    writeTree(source.registry());
  }

  platform::testing::WinePrefix wine;
  const bool withWine = wine.installed() && wine.ready();
  fs::path benchRoot = sourceRoot;
  if (withWine) {
    // Our export carries the tree into the prefix; Wine's editor imports it.
    platform::NativeMachine source(sourceRoot, clock, "C:\\");
    checkReport(exportTree(source, "C:\\tree.reg"));
    wine.wine({"regedit", "/s", (sourceRoot / "drive_c" / "tree.reg").string()});
    wine.stopServer();
    benchRoot = wine.prefix();
  } else {
    std::printf("Wine is not installed: timing our export alone\n");
  }

  platform::NativeMachine machine(benchRoot, clock, "C:\\");
  const fs::path wineOutput = wine.scratch() / "wine-export.reg";
  const std::vector<std::string> wineExport = {"regedit", "/e", wineOutput.string(),
                                               std::string("HKEY_CURRENT_USER\\") + kTreeKey};
  if (withWine) {
    wine.keepServer();
    wine.wine(wineExport);  // the server loads the registry once, as our hive loads once
  }
  Timing ours, peer, start;
  for (int round = 0; round < kRounds; ++round) {
    measure(ours, [&] { checkReport(exportTree(machine, "C:\\ours.mig")); });
    if (!withWine) continue;
    fs::remove(wineOutput);
    measure(peer, [&] { wine.wine(wineExport); });
    if (!fs::exists(wineOutput) || fs::file_size(wineOutput) == 0) fail("regedit /e wrote nothing");
    measure(start, [&] { wine.wine({"cmd", "/c", "exit"}); });
  }

  std::printf("%d values, export file %ju bytes\n", kValues,
              static_cast<std::uintmax_t>(fs::file_size(benchRoot / "drive_c" / "ours.mig")));
  print("ours", ours);
  if (withWine) {
    print("wine regedit /e", peer);
    std::printf("%-22s %8.3f s clock (a Wine program that does nothing)\n", "wine start alone",
                start.wall);
    std::printf("ratio ours / wine regedit /e: %.3f (clock), %.3f without Wine's start\n",
                ours.wall / peer.wall, ours.wall / (peer.wall - start.wall));
  }
  fs::remove_all(sourceRoot);
  return 0;
}
