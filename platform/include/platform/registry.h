// The machine's registry through the "A" functions, with Windows' semantics and status codes.
// Text is ANSI (Windows-1252). Lengths follow the Windows conventions: name lengths count
// characters without the NUL on return and the buffer size with it on entry.
#pragma once

#include <cstdint>

#include "platform/status.h"

namespace platform {

using HKEY = std::uintptr_t;
using DWORD = std::uint32_t;
using REGSAM = std::uint32_t;
using BYTE = std::uint8_t;

inline constexpr HKEY HKEY_CLASSES_ROOT = 0x80000000;
inline constexpr HKEY HKEY_CURRENT_USER = 0x80000001;
inline constexpr HKEY HKEY_LOCAL_MACHINE = 0x80000002;
inline constexpr HKEY HKEY_USERS = 0x80000003;
inline constexpr HKEY HKEY_PERFORMANCE_DATA = 0x80000004;
inline constexpr HKEY HKEY_CURRENT_CONFIG = 0x80000005;
inline constexpr HKEY HKEY_DYN_DATA = 0x80000006;

inline constexpr DWORD REG_NONE = 0;
inline constexpr DWORD REG_SZ = 1;
inline constexpr DWORD REG_EXPAND_SZ = 2;
inline constexpr DWORD REG_BINARY = 3;
inline constexpr DWORD REG_DWORD = 4;
inline constexpr DWORD REG_DWORD_BIG_ENDIAN = 5;
inline constexpr DWORD REG_LINK = 6;
inline constexpr DWORD REG_MULTI_SZ = 7;
inline constexpr DWORD REG_QWORD = 11;

inline constexpr REGSAM KEY_QUERY_VALUE = 0x0001;
inline constexpr REGSAM KEY_SET_VALUE = 0x0002;
inline constexpr REGSAM KEY_CREATE_SUB_KEY = 0x0004;
inline constexpr REGSAM KEY_ENUMERATE_SUB_KEYS = 0x0008;
inline constexpr REGSAM KEY_READ = 0x20019;
inline constexpr REGSAM KEY_WRITE = 0x20006;
inline constexpr REGSAM KEY_ALL_ACCESS = 0xF003F;

inline constexpr DWORD REG_CREATED_NEW_KEY = 1;
inline constexpr DWORD REG_OPENED_EXISTING_KEY = 2;

class Registry {
 public:
  virtual ~Registry() = default;

  virtual Status RegOpenKeyExA(HKEY key, const char* subKey, DWORD options, REGSAM access,
                             HKEY* result) = 0;
  // Creates the key and every missing parent. `disposition` may be null.
  virtual Status RegCreateKeyExA(HKEY key, const char* subKey, REGSAM access, HKEY* result,
                               DWORD* disposition) = 0;
  // `nameLength`: in, the buffer's size in characters; out, the name's length without its NUL.
  // ERROR_MORE_DATA when the buffer is too small, ERROR_NO_MORE_ITEMS past the last sub-key.
  virtual Status RegEnumKeyExA(HKEY key, DWORD index, char* name, DWORD* nameLength) = 0;
  // As RegEnumKeyExA for the name; `data` may be null to ask for sizes only. `type`, `data`
  // and `dataLength` may be null.
  virtual Status RegEnumValueA(HKEY key, DWORD index, char* name, DWORD* nameLength, DWORD* type,
                             BYTE* data, DWORD* dataLength) = 0;
  // A null `data` asks for the type and size only.
  virtual Status RegQueryValueExA(HKEY key, const char* valueName, DWORD* type, BYTE* data,
                                DWORD* dataLength) = 0;
  virtual Status RegSetValueExA(HKEY key, const char* valueName, DWORD type, const BYTE* data,
                              DWORD dataLength) = 0;
  virtual Status RegDeleteValueA(HKEY key, const char* valueName) = 0;
  // A key without sub-keys.
  virtual Status RegDeleteKeyA(HKEY key, const char* subKey) = 0;
  // The key with its whole sub-tree; a null or empty `subKey` empties `key` itself.
  virtual Status RegDeleteTreeA(HKEY key, const char* subKey) = 0;
  // Writes changes of the key's hive through to the machine. Without it changes reach the
  // machine lazily, at the latest when the registry object ends; closing a key does not write.
  virtual Status RegFlushKey(HKEY key) = 0;
  virtual Status RegCloseKey(HKEY key) = 0;
};

}  // namespace platform
