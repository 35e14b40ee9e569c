// Imports a .reg file (REGEDIT4 or version 5) into a registry, as `regedit /s FILE` does. Works
// only through the Registry interface, so it serves every backend.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/registry.h"

namespace platform {

struct RegImportOutcome {
  bool imported = false;  // the header was recognised and the file was read
  int keysOpened = 0;     // key lines that opened or created their key
  int keysDeleted = 0;
  int valuesSet = 0;
  int valuesDeleted = 0;
  // One line per construct passed over ("line 12: ..."), for logs; the import goes on.
  std::vector<std::string> problems;
};

// `fileBytes` is the whole file: UTF-16LE when it starts with FF FE, ANSI otherwise.
RegImportOutcome importRegFile(Registry& registry, std::string_view fileBytes);

}  // namespace platform
