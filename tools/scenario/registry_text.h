// Registry keys and values as scenario lines write them:
//   reg HKLM\SOFTWARE\Key "Name" = sz "text"     (a REG_SZ stored with its NUL)
//   reg HKCU\Key "Name" = sz "text" unterminated (stored without a NUL)
//   ... = expand_sz "%windir%\x" | multi_sz "a" "b" | dword 26 | dword 0x1a | binary 0a,ff | none
// "@" names the default value.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/registry.h"
#include "scenario_text.h"

namespace scenario {

struct RegistryPath {
  platform::HKEY root = 0;
  std::string subKey;
};

struct RegistryData {
  platform::DWORD type = platform::REG_NONE;
  std::string bytes;
};

// The key and, when given, the value name of "reg KEY [NAME]": KEY may hold blanks
// (HKCU\Control Panel\Desktop) or be quoted; NAME is quoted, or @ for the default value.
struct RegistryQuestion {
  std::string key;
  std::optional<std::string> name;
};
std::optional<RegistryQuestion> splitRegistryQuestion(const std::vector<Word>& words);

// "HKLM\SOFTWARE\Key" (also HKCU, HKCR, HKU and the long names).
std::optional<RegistryPath> parseRegistryPath(const std::string& text);
// The words after "=": a type and its data.
std::optional<RegistryData> parseRegistryData(const std::vector<Word>& words, std::string& error);
std::string registryDataText(const RegistryData& data);

// Creates the key and writes the value.
platform::Status writeRegistryValue(platform::Registry& registry, const RegistryPath& path,
                                  const std::string& name, const RegistryData& data);
platform::Status createRegistryKey(platform::Registry& registry, const RegistryPath& path);
// nullopt when the key or value is missing.
std::optional<RegistryData> readRegistryValue(platform::Registry& registry,
                                              const RegistryPath& path, const std::string& name);
bool registryKeyExists(platform::Registry& registry, const RegistryPath& path);

}  // namespace scenario
