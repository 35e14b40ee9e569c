#include "win32_registry.h"

#include <string>
#include <vector>

#include "windows_api.h"

namespace platform {
namespace {

// The predefined roots are negative 32-bit numbers to Windows: a 64-bit build sign-extends them.
::HKEY toWindows(HKEY key) {
  if (key >= 0x80000000u && key <= 0x80000006u) {  // HKEY_CLASSES_ROOT to HKEY_DYN_DATA
    return reinterpret_cast<::HKEY>(static_cast<std::intptr_t>(static_cast<std::int32_t>(key)));
  }
  return reinterpret_cast<::HKEY>(key);
}
HKEY fromWindows(::HKEY key) { return reinterpret_cast<HKEY>(key); }
Status fromCode(::LONG code) { return Status(static_cast<std::uint32_t>(code)); }

constexpr ::DWORD kMaxKeyName = 256;

}  // namespace

Status Win32Registry::RegOpenKeyExA(HKEY key, const char* subKey, DWORD options, REGSAM access,
                                    HKEY* result) {
  ::HKEY opened = nullptr;
  const Status status =
      fromCode(::RegOpenKeyExA(toWindows(key), subKey, options, access, &opened));
  if (result != nullptr) *result = status.ok() ? fromWindows(opened) : 0;
  return status;
}

Status Win32Registry::RegCreateKeyExA(HKEY key, const char* subKey, REGSAM access, HKEY* result,
                                      DWORD* disposition) {
  ::HKEY created = nullptr;
  ::DWORD how = 0;
  const Status status = fromCode(::RegCreateKeyExA(toWindows(key), subKey, 0, nullptr,
                                                   REG_OPTION_NON_VOLATILE, access, nullptr,
                                                   &created, &how));
  if (result != nullptr) *result = status.ok() ? fromWindows(created) : 0;
  if (disposition != nullptr) *disposition = how;
  return status;
}

Status Win32Registry::RegEnumKeyExA(HKEY key, DWORD index, char* name, DWORD* nameLength) {
  ::DWORD length = nameLength != nullptr ? *nameLength : 0;
  const Status status = fromCode(
      ::RegEnumKeyExA(toWindows(key), index, name, &length, nullptr, nullptr, nullptr, nullptr));
  if (nameLength != nullptr) *nameLength = length;
  return status;
}

Status Win32Registry::RegEnumValueA(HKEY key, DWORD index, char* name, DWORD* nameLength,
                                    DWORD* type, BYTE* data, DWORD* dataLength) {
  ::DWORD length = nameLength != nullptr ? *nameLength : 0;
  ::DWORD valueType = 0;
  ::DWORD size = dataLength != nullptr ? *dataLength : 0;
  const Status status =
      fromCode(::RegEnumValueA(toWindows(key), index, name, &length, nullptr, &valueType, data,
                               dataLength != nullptr ? &size : nullptr));
  if (nameLength != nullptr) *nameLength = length;
  if (type != nullptr) *type = valueType;
  if (dataLength != nullptr) *dataLength = size;
  return status;
}

Status Win32Registry::RegQueryValueExA(HKEY key, const char* valueName, DWORD* type, BYTE* data,
                                       DWORD* dataLength) {
  ::DWORD valueType = 0;
  ::DWORD size = dataLength != nullptr ? *dataLength : 0;
  const Status status = fromCode(::RegQueryValueExA(toWindows(key), valueName, nullptr,
                                                    &valueType, data,
                                                    dataLength != nullptr ? &size : nullptr));
  if (type != nullptr) *type = valueType;
  if (dataLength != nullptr) *dataLength = size;
  return status;
}

Status Win32Registry::RegSetValueExA(HKEY key, const char* valueName, DWORD type,
                                     const BYTE* data, DWORD dataLength) {
  return fromCode(::RegSetValueExA(toWindows(key), valueName, 0, type, data, dataLength));
}

Status Win32Registry::RegDeleteValueA(HKEY key, const char* valueName) {
  return fromCode(::RegDeleteValueA(toWindows(key), valueName));
}

Status Win32Registry::RegDeleteKeyA(HKEY key, const char* subKey) {
  if (subKey == nullptr || *subKey == '\0') return Status(ERROR_BADKEY);
  ::HKEY opened = nullptr;
  RETURN_IF_FAILED(
      fromCode(::RegOpenKeyExA(toWindows(key), subKey, 0, KEY_QUERY_VALUE, &opened)));
  ::DWORD subKeys = 0;
  const Status counted = fromCode(::RegQueryInfoKeyA(opened, nullptr, nullptr, nullptr, &subKeys,
                                                     nullptr, nullptr, nullptr, nullptr, nullptr,
                                                     nullptr, nullptr));
  ::RegCloseKey(opened);
  RETURN_IF_FAILED(counted);
  if (subKeys > 0) return Status(ERROR_ACCESS_DENIED);  // as NT refuses it
  return fromCode(::RegDeleteKeyA(toWindows(key), subKey));
}

Status Win32Registry::deleteSubKeys(HKEY key) {
  // Names first, then the deletes: deleting while enumerating shifts the indices.
  std::vector<std::string> names;
  for (::DWORD index = 0;; ++index) {
    char name[kMaxKeyName];
    ::DWORD length = kMaxKeyName;
    const ::LONG code = ::RegEnumKeyExA(toWindows(key), index, name, &length, nullptr, nullptr,
                                        nullptr, nullptr);
    if (code == ERROR_NO_MORE_ITEMS) break;
    if (code != ERROR_SUCCESS) return fromCode(code);
    names.emplace_back(name, length);
  }
  for (const std::string& name : names) RETURN_IF_FAILED(RegDeleteTreeA(key, name.c_str()));
  return Status();
}

Status Win32Registry::RegDeleteTreeA(HKEY key, const char* subKey) {
  const bool itself = subKey == nullptr || *subKey == '\0';
  ::HKEY opened = toWindows(key);
  if (!itself) {
    RETURN_IF_FAILED(fromCode(
        ::RegOpenKeyExA(toWindows(key), subKey, 0, KEY_READ | KEY_WRITE | DELETE, &opened)));
  }
  Status status = deleteSubKeys(fromWindows(opened));
  if (itself) {
    // Emptying a key takes its values too.
    while (status.ok()) {
      char name[16384];
      ::DWORD length = sizeof name;
      const ::LONG code =
          ::RegEnumValueA(opened, 0, name, &length, nullptr, nullptr, nullptr, nullptr);
      if (code == ERROR_NO_MORE_ITEMS) break;
      status = code == ERROR_SUCCESS ? fromCode(::RegDeleteValueA(opened, name)) : fromCode(code);
    }
    return status;
  }
  ::RegCloseKey(opened);
  RETURN_IF_FAILED(status);
  return fromCode(::RegDeleteKeyA(toWindows(key), subKey));
}

Status Win32Registry::RegFlushKey(HKEY key) { return fromCode(::RegFlushKey(toWindows(key))); }

Status Win32Registry::RegCloseKey(HKEY key) { return fromCode(::RegCloseKey(toWindows(key))); }

}  // namespace platform
