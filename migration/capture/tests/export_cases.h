// Registry values of every kind an export must carry, with what each one becomes once the export
// is imported by a registry editor: the same type and bytes, but for the Office 8.0 keys and
// Office program paths that the export moves to 10.0, and text without its final NUL, which an
// import always ends with one. Shared by the round trip through our importer and the one
// through Wine's.
#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/registry.h"

namespace migration::testing {

// The key all cases live under, below HKEY_CURRENT_USER.
inline constexpr const char* kExportCasesKey = "Software\\TransvaleExport";

struct ExportCase {
  ExportCase(std::string key, std::string name, platform::DWORD type, std::string data,
             std::string importedKey = {}, std::string importedName = {},
             std::string importedData = {})
      : key(std::move(key)),
        name(std::move(name)),
        type(type),
        data(std::move(data)),
        importedKey(std::move(importedKey)),
        importedName(std::move(importedName)),
        importedData(std::move(importedData)) {}

  std::string key;  // below kExportCasesKey, "" for itself
  std::string name;
  platform::DWORD type = 0;
  std::string data;
  // After the import; empty fields mean "as in the source".
  std::string importedKey;
  std::string importedName;
  std::string importedData;
};

const std::vector<ExportCase>& exportCases();

// Creates the keys and values of every case below HKEY_CURRENT_USER.
void storeExportCases(platform::Registry& registry);

// "key\0name" -> (type, data), the key relative to the dumped key.
using ValueDump = std::map<std::string, std::pair<platform::DWORD, std::string>>;

// What the cases must leave after an export and an import.
ValueDump expectedImport();

// Every value below root\path, sub-keys included.
ValueDump dumpValues(platform::Registry& registry, platform::HKEY root, const std::string& path);

// A dump as readable text for failure messages.
std::string describe(const ValueDump& dump);

}  // namespace migration::testing
