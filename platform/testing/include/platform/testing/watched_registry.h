// The machine's registry, watched: the access each key was opened with, the keys still open,
// whether anything created a key; and keys that refuse to open, as keys without read access do.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "platform/registry.h"

namespace platform::testing {

class WatchedRegistry final : public platform::Registry {
 public:
  using BYTE = platform::BYTE;
  using DWORD = platform::DWORD;
  using HKEY = platform::HKEY;
  using Status = platform::Status;
  using REGSAM = platform::REGSAM;

  explicit WatchedRegistry(platform::Registry& inner) : m_inner(inner) {}

  // Opening a key path that ends in this name fails with ERROR_ACCESS_DENIED.
  void refuse(const std::string& name) { m_refused.insert(name); }

  Status RegOpenKeyExA(HKEY key, const char* subKey, DWORD options, REGSAM access,
                     HKEY* result) override {
    accesses.push_back(access);
    if (isRefused(subKey)) return platform::ERROR_ACCESS_DENIED;
    const Status status = m_inner.RegOpenKeyExA(key, subKey, options, access, result);
    if (status.ok()) ++openKeys;
    return status;
  }
  Status RegCreateKeyExA(HKEY key, const char* subKey, REGSAM access, HKEY* result,
                       DWORD* disposition) override {
    ++creates;
    return m_inner.RegCreateKeyExA(key, subKey, access, result, disposition);
  }
  Status RegEnumKeyExA(HKEY key, DWORD index, char* name, DWORD* nameLength) override {
    return m_inner.RegEnumKeyExA(key, index, name, nameLength);
  }
  Status RegEnumValueA(HKEY key, DWORD index, char* name, DWORD* nameLength, DWORD* type, BYTE* data,
                     DWORD* dataLength) override {
    return m_inner.RegEnumValueA(key, index, name, nameLength, type, data, dataLength);
  }
  Status RegQueryValueExA(HKEY key, const char* valueName, DWORD* type, BYTE* data,
                        DWORD* dataLength) override {
    return m_inner.RegQueryValueExA(key, valueName, type, data, dataLength);
  }
  Status RegSetValueExA(HKEY key, const char* valueName, DWORD type, const BYTE* data,
                      DWORD dataLength) override {
    return m_inner.RegSetValueExA(key, valueName, type, data, dataLength);
  }
  Status RegDeleteValueA(HKEY key, const char* valueName) override {
    return m_inner.RegDeleteValueA(key, valueName);
  }
  Status RegDeleteKeyA(HKEY key, const char* subKey) override {
    return m_inner.RegDeleteKeyA(key, subKey);
  }
  Status RegDeleteTreeA(HKEY key, const char* subKey) override {
    return m_inner.RegDeleteTreeA(key, subKey);
  }
  Status RegFlushKey(HKEY key) override { return m_inner.RegFlushKey(key); }
  Status RegCloseKey(HKEY key) override {
    const Status status = m_inner.RegCloseKey(key);
    if (status.ok()) --openKeys;
    return status;
  }

  std::vector<REGSAM> accesses;
  int openKeys = 0;
  int creates = 0;

 private:
  bool isRefused(const char* subKey) const {
    const std::string path = subKey != nullptr ? subKey : "";
    const std::size_t slash = path.rfind('\\');
    return m_refused.count(slash == std::string::npos ? path : path.substr(slash + 1)) > 0;
  }

  platform::Registry& m_inner;
  std::set<std::string> m_refused;
};

}  // namespace platform::testing
