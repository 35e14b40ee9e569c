// The Wine registry file reader on any bytes. A file it accepts is written back in Wine's form,
// and that form reads back to the same form (so a rewrite never changes what a rewrite wrote).
// The bytes then serve as a machine's system.reg, whose keys and values are walked through the
// "A" functions, with buffers too small and large enough.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_check.h"
#include "native_registry.h"
#include "platform/clock.h"
#include "platform/testing/temporary_machine_root.h"
#include "registry_file_reader.h"
#include "registry_file_writer.h"

namespace {

using platform::DWORD;
using platform::HKEY;

constexpr platform::FileTime kNow = platform::VirtualClock::kDefaultStart;
// Bounds that keep one input fast.
constexpr int kMaxDepth = 12;
constexpr int kMaxKeys = 2000;
constexpr DWORD kMaxEnumerated = 500;

void checkRewriteIsStable(std::string_view bytes) {
  auto hive = platform::readRegistryFile(bytes, kNow);
  if (!hive) {
    fuzz::check(hive.status() == platform::ERROR_BADDB, "a refused file is ERROR_BADDB");
    return;
  }
  const std::string written = platform::formatRegistryFile(**hive);
  auto again = platform::readRegistryFile(written, kNow);
  fuzz::check(again.ok(), "what the writer wrote reads back");
  fuzz::check(platform::formatRegistryFile(**again) == written,
              "what the writer wrote is written again the same");
}

class Walk {
 public:
  explicit Walk(platform::Registry& registry) : m_registry(registry) {}

  void key(HKEY handle, int depth) {
    if (depth > kMaxDepth || ++m_keys > kMaxKeys) return;
    values(handle);
    for (DWORD index = 0; index < kMaxEnumerated; ++index) {
      char name[256];
      DWORD length = sizeof name;
      const platform::Status status = m_registry.RegEnumKeyExA(handle, index, name, &length);
      if (status != platform::ERROR_SUCCESS) break;
      fuzz::check(length < sizeof name && name[length] == '\0', "a key name ends in its buffer");
      HKEY sub = 0;
      if (m_registry.RegOpenKeyExA(handle, name, 0, platform::KEY_READ, &sub) !=
          platform::ERROR_SUCCESS) {
        continue;  // a name that is not the same in ANSI, or that holds a backslash
      }
      key(sub, depth + 1);
      fuzz::check(m_registry.RegCloseKey(sub) == platform::ERROR_SUCCESS, "an open key closes");
    }
  }

 private:
  void values(HKEY handle) {
    for (DWORD index = 0; index < kMaxEnumerated; ++index) {
      char name[16384];
      DWORD nameLength = sizeof name;
      DWORD type = 0;
      DWORD size = 0;
      const platform::Status status =
          m_registry.RegEnumValueA(handle, index, name, &nameLength, &type, nullptr, &size);
      if (status != platform::ERROR_SUCCESS) break;
      fuzz::check(nameLength < sizeof name && name[nameLength] == '\0',
                  "a value name ends in its buffer");
      query(handle, name);
    }
  }

  void query(HKEY handle, const char* name) {
    DWORD type = 0;
    DWORD needed = 0;
    if (m_registry.RegQueryValueExA(handle, name, &type, nullptr, &needed) !=
        platform::ERROR_SUCCESS) {
      return;  // a name that is not the same in ANSI
    }
    std::vector<platform::BYTE> data(needed + 1);
    if (needed > 0) {
      DWORD small = needed - 1;
      fuzz::check(m_registry.RegQueryValueExA(handle, name, &type, data.data(), &small) ==
                      platform::ERROR_MORE_DATA,
                  "a buffer one byte short gives ERROR_MORE_DATA");
    }
    DWORD length = needed;
    fuzz::check(m_registry.RegQueryValueExA(handle, name, &type, data.data(), &length) ==
                    platform::ERROR_SUCCESS,
                "a buffer of the size asked for is enough");
    fuzz::check(length <= needed, "the data fits the size given");
  }

  platform::Registry& m_registry;
  int m_keys = 0;
};

void walkAsMachine(std::string_view bytes) {
  static platform::testing::TemporaryMachineRoot root;
  {
    std::ofstream file(root.path() / "system.reg", std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }
  platform::VirtualClock clock;
  platform::NativeRegistry registry(root.path(), &clock);
  Walk(registry).key(platform::HKEY_LOCAL_MACHINE, 0);
  Walk(registry).key(platform::HKEY_CLASSES_ROOT, 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  checkRewriteIsStable(bytes);
  walkAsMachine(bytes);
  return 0;
}
