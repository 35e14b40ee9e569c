// The .reg import on any bytes, into a machine whose registry already holds a few keys (so that
// deletions find something). A file that is not a registry file changes nothing; after any
// import the machine's registry files are written, and each reads back and comes out of the
// writer byte for byte as it was written.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "native_registry.h"
#include "platform/clock.h"
#include "platform/testing/temporary_machine_root.h"
#include "reg_import.h"
#include "registry_file_reader.h"
#include "registry_file_writer.h"

namespace {

namespace fs = std::filesystem;

constexpr platform::FileTime kNow = platform::VirtualClock::kDefaultStart;

constexpr std::string_view kSystemReg = R"(WINE REGISTRY Version 2
;; All keys relative to \\Machine

#arch=win64

[Software\\Import] 1796860073
#time=1dd8837b574f168
@="default"
"Count"=dword:0000001a
"Dir"="C:\\Data"

[Software\\Import\\Sub] 1796860073
#time=1dd8837b574f168
"Multi"=str(7):"a\0b\0"
)";

constexpr std::string_view kUserReg = R"(WINE REGISTRY Version 2
;; All keys relative to \\User\\S-1-5-21-0-0-0-1000

#arch=win64

[Control Panel\\Desktop] 1796860073
#time=1dd8837b574f168
"Wallpaper"="C:\\WINNT\\Bliss.bmp"

[Software\\Import] 1796860073
#time=1dd8837b574f168
"Bits"=hex:0a,ff,00
"Expand"=str(2):"%SystemRoot%\\x"
)";

std::string readHostFile(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

void writeHostFile(const fs::path& path, std::string_view bytes) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  fuzz::check(file.good(), "writing " + path.string());
}

void checkReadsBackAsWritten(const fs::path& path) {
  const std::string bytes = readHostFile(path);
  auto hive = platform::readRegistryFile(bytes, kNow);
  fuzz::check(hive.ok(), "the machine reads back " + path.filename().string());
  fuzz::check(platform::formatRegistryFile(**hive) == bytes,
              path.filename().string() + " comes out of the writer as it was written");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static platform::testing::TemporaryMachineRoot root;
  const fs::path system = root.path() / "system.reg";
  const fs::path user = root.path() / "user.reg";
  writeHostFile(system, kSystemReg);
  writeHostFile(user, kUserReg);

  platform::VirtualClock clock;
  platform::RegImportOutcome outcome;
  {
    platform::NativeRegistry registry(root.path(), &clock);
    outcome = platform::importRegFile(registry,
                                      std::string_view(reinterpret_cast<const char*>(data), size));
    fuzz::check(registry.flushAll() == platform::ERROR_SUCCESS, "the imported registry is saved");
  }
  fuzz::check(outcome.keysOpened >= 0 && outcome.keysDeleted >= 0 && outcome.valuesSet >= 0 &&
                  outcome.valuesDeleted >= 0,
              "the counts are counts");
  if (!outcome.imported) {
    fuzz::check(outcome.keysOpened + outcome.keysDeleted + outcome.valuesSet +
                        outcome.valuesDeleted ==
                    0,
                "a file that is not imported changes nothing");
    fuzz::check(readHostFile(system) == kSystemReg && readHostFile(user) == kUserReg,
                "a file that is not imported leaves the registry files alone");
  }
  checkReadsBackAsWritten(system);
  checkReadsBackAsWritten(user);
  return 0;
}
