// Reading and writing one named value of one registry key. The wrappers hide failures from their
// callers: a value that cannot be read comes back empty, a write that fails says nothing.
#pragma once

#include <string>

#include "context/reg_value.h"
#include "platform/registry.h"

namespace migration {

// The access every key is opened with, for reading and for writing alike.
inline constexpr platform::REGSAM kRegistryAccess = 0x3F;

// Opens root\keyPath, reads valueName and closes the key. A REG_SZ value keeps the NUL that
// ends it in the registry; REG_DWORD gives an integer; anything else, or any failure, is empty.
RegValue QueryKeyValue(platform::Registry& registry, platform::HKEY root,
                       const std::string& keyPath, const std::string& valueName);

// The status QueryValueEx gives for a type other than REG_SZ and REG_DWORD (-1 as a Status).
inline constexpr platform::Status kUnsupportedType{0xFFFFFFFF};

// Reads one value of an open key into `value`; returns the registry status, or kUnsupportedType.
platform::Status QueryValueEx(platform::Registry& registry, platform::HKEY key,
                            const std::string& valueName, RegValue& value);

// Opens the existing key root\keyPath (it is never created), writes the value and closes it.
void SetKeyValue(platform::Registry& registry, platform::HKEY root, const std::string& keyPath,
                 const std::string& valueName, const RegValue& value, platform::DWORD valueType);

// REG_SZ stores the text as Windows does when it is handed over without its NUL: with a final
// NUL unless it is empty or ends in one already; REG_DWORD stores four bytes; any other type
// writes nothing and returns ERROR_SUCCESS.
platform::Status SetValueEx(platform::Registry& registry, platform::HKEY key,
                          const std::string& valueName, platform::DWORD valueType,
                          const RegValue& value);

}  // namespace migration
