// Single values and key lists read and written through the Registry interface, for the native
// parts that keep their state where Windows keeps it (printers, network drives, the desktop).
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/registry.h"

namespace platform {

// A REG_SZ or REG_EXPAND_SZ value up to its first NUL; nothing when the key or value is missing
// or holds another type.
std::optional<std::string> readStringValue(Registry& registry, HKEY root, const std::string& key,
                                           const std::string& name);
std::optional<DWORD> readDwordValue(Registry& registry, HKEY root, const std::string& key,
                                    const std::string& name);

// Create the key (with its parents) when it is missing.
[[nodiscard]] Status writeStringValue(Registry& registry, HKEY root, const std::string& key,
                                      const std::string& name, const std::string& value);
[[nodiscard]] Status writeDwordValue(Registry& registry, HKEY root, const std::string& key,
                                     const std::string& name, DWORD value);

bool registryKeyExists(Registry& registry, HKEY root, const std::string& key);
// The sub-keys' names in the registry's order; empty when the key is missing.
std::vector<std::string> subKeyNames(Registry& registry, HKEY root, const std::string& key);

}  // namespace platform
