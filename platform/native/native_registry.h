// The registry of the simulated machine: HKEY_LOCAL_MACHINE in the machine root's system.reg,
// HKEY_CURRENT_USER in user.reg, with the "A" functions' semantics and status codes.
//
// HKEY_CLASSES_ROOT is HKLM\Software\Classes; HKEY_CURRENT_CONFIG is
// HKLM\System\CurrentControlSet\Hardware Profiles\Current; HKEY_USERS holds .DEFAULT
// (userdef.reg, read-only) and S-1-5-21-0-0-0-1000 (user.reg). HKEY_PERFORMANCE_DATA and
// HKEY_DYN_DATA are not kept: ERROR_INVALID_HANDLE.
//
// Values enumerate in the order they were created while a hive is loaded; the file keeps them in
// Wine's sorted order, so a hive loaded again enumerates them in that order.
//
// FIXME: a key marked #link (Wine's Wow6432Node and Time Zones links) opens as an ordinary key:
// its SymbolicLinkValue is not followed. HKEY_CLASSES_ROOT shows only the machine's classes, not
// those of HKCU\Software\Classes merged over them.
//
// Each file is loaded once, when first used. A changed hive is written back on RegFlushKey, on
// flushAll and when the registry is destroyed, never on RegCloseKey; a file that could not be
// loaded is never written (its keys fail with ERROR_BADDB or ERROR_CANTREAD).
#pragma once

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/registry.h"
#include "registry_hive.h"

namespace platform {

class NativeRegistry final : public Registry {
 public:
  // `clock` stamps the keys we change; null takes the host's time.
  explicit NativeRegistry(std::filesystem::path machineRoot, Clock* clock = nullptr);
  ~NativeRegistry() override;
  NativeRegistry(const NativeRegistry&) = delete;
  NativeRegistry& operator=(const NativeRegistry&) = delete;

  Status RegOpenKeyExA(HKEY key, const char* subKey, DWORD options, REGSAM access,
                     HKEY* result) override;
  Status RegCreateKeyExA(HKEY key, const char* subKey, REGSAM access, HKEY* result,
                       DWORD* disposition) override;
  Status RegEnumKeyExA(HKEY key, DWORD index, char* name, DWORD* nameLength) override;
  Status RegEnumValueA(HKEY key, DWORD index, char* name, DWORD* nameLength, DWORD* type, BYTE* data,
                     DWORD* dataLength) override;
  Status RegQueryValueExA(HKEY key, const char* valueName, DWORD* type, BYTE* data,
                        DWORD* dataLength) override;
  Status RegSetValueExA(HKEY key, const char* valueName, DWORD type, const BYTE* data,
                      DWORD dataLength) override;
  Status RegDeleteValueA(HKEY key, const char* valueName) override;
  Status RegDeleteKeyA(HKEY key, const char* subKey) override;
  Status RegDeleteTreeA(HKEY key, const char* subKey) override;
  Status RegFlushKey(HKEY key) override;
  Status RegCloseKey(HKEY key) override;

  // Writes every changed hive now; the first failure's status.
  Status flushAll();

  // Loads the machine's and the user's hives now; the first that cannot be read fails, with its
  // file and what is wrong with it as the subject.
  Result<bool> loadHives();

 private:
  enum class HiveId { Machine, User, DefaultUser };
  enum class Creation { OpenOnly, CreateMissing };
  struct HiveSlot {
    std::filesystem::path file;
    std::string relativeTo;
    RegistryHive::Access access = RegistryHive::Access::ReadWrite;
    bool loaded = false;
    Status loadStatus = ERROR_SUCCESS;
    std::string loadProblem;  // the file and what is wrong with it
    std::unique_ptr<RegistryHive> hive;
  };
  // Where a handle points: a key, a path below it still to walk (for the predefined keys that
  // stand for a sub-key), and the rights the handle was opened with.
  struct Anchor {
    std::shared_ptr<RegistryKey> key;
    std::vector<std::u16string> prefix;
    REGSAM access = 0;
    bool predefined = false;
  };
  struct OpenHandle {
    std::shared_ptr<RegistryKey> key;
    REGSAM access = 0;
  };

  Result<RegistryHive*> hive(HiveId id);
  Result<std::shared_ptr<RegistryKey>> usersRoot();
  Result<Anchor> anchorOf(HKEY handle);
  // The key a handle stands for, when the handle grants `needed`.
  Result<std::shared_ptr<RegistryKey>> keyOf(HKEY handle, REGSAM needed);
  Result<std::shared_ptr<RegistryKey>> walk(const Anchor& anchor, const char* subKey);
  Status openOrCreate(HKEY key, const char* subKey, REGSAM access, HKEY* result, DWORD* disposition,
                    Creation creation);
  HKEY addHandle(std::shared_ptr<RegistryKey> key, REGSAM access);
  void touch(RegistryKey& key);
  Status saveIfChanged(RegistryHive& hive);
  FileTime now();

  std::filesystem::path m_root;
  Clock* m_clock;
  std::map<HiveId, HiveSlot> m_hives;
  std::unique_ptr<RegistryHive> m_users;  // HKEY_USERS: the two user hives side by side
  std::map<HKEY, OpenHandle> m_handles;
  HKEY m_nextHandle = 0x1000;
};

}  // namespace platform
