// The registry of the machine the program runs on, through the real "A" functions. A key handle
// is the Windows HKEY itself, so the predefined roots pass through unchanged.
//
// Where an older Windows lacks a call, the registry does the work itself: RegDeleteTreeA (new in
// Vista) deletes sub-keys depth first; RegDeleteKeyA refuses a key with sub-keys as NT does, also
// on Windows 95/98 whose own RegDeleteKeyA would take the sub-tree with it.
#pragma once

#include "platform/registry.h"

namespace platform {

class Win32Registry final : public Registry {
 public:
  Status RegOpenKeyExA(HKEY key, const char* subKey, DWORD options, REGSAM access,
                       HKEY* result) override;
  Status RegCreateKeyExA(HKEY key, const char* subKey, REGSAM access, HKEY* result,
                         DWORD* disposition) override;
  Status RegEnumKeyExA(HKEY key, DWORD index, char* name, DWORD* nameLength) override;
  Status RegEnumValueA(HKEY key, DWORD index, char* name, DWORD* nameLength, DWORD* type,
                       BYTE* data, DWORD* dataLength) override;
  Status RegQueryValueExA(HKEY key, const char* valueName, DWORD* type, BYTE* data,
                          DWORD* dataLength) override;
  Status RegSetValueExA(HKEY key, const char* valueName, DWORD type, const BYTE* data,
                        DWORD dataLength) override;
  Status RegDeleteValueA(HKEY key, const char* valueName) override;
  Status RegDeleteKeyA(HKEY key, const char* subKey) override;
  Status RegDeleteTreeA(HKEY key, const char* subKey) override;
  Status RegFlushKey(HKEY key) override;
  Status RegCloseKey(HKEY key) override;

 private:
  Status deleteSubKeys(HKEY key);
};

}  // namespace platform
