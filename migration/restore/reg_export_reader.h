// Reads a REGEDIT4 export back into the values it carries, so that the restore can tell which of
// them the registry now holds. The program's own reading, apart from the registry editor that
// imports the file: a fault in the import must not hide itself by being read the same way twice.
//
// What it reads is what the capture writes: "[ROOT\key]" lines, "name"="text" with \\ and \"
// escapes (and \n, \r; any other pair drops its backslash), @ for the default value, dword:
// with one to eight hex digits, hex: and hex(N): with continuation lines after a trailing
// backslash; a file in UTF-16 (it starts with FF FE) is read as the ANSI text it stands for. Text
// becomes its bytes with the NUL the registry stores after it; hex data stays
// exactly the bytes written. Deletions ("[-key]", "name"=-) carry no value to look for; lines it
// cannot read are named in `problems`, and reading goes on.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/registry.h"

namespace migration {

struct ExportedValue {
  std::string key;   // as the file names it, root included: HKEY_CURRENT_USER\Software\X
  std::string name;  // empty for the default value
  platform::DWORD type = platform::REG_NONE;
  std::string data;  // the bytes the value holds
};

struct ExportContents {
  // The first line is "REGEDIT4" or "Windows Registry Editor Version 5.00"; without it the
  // registry editor imports nothing, and nothing is read.
  bool isRegistryFile = false;
  // In file order; a value given twice is kept once, where it last stood.
  std::vector<ExportedValue> values;
  std::vector<std::string> problems;  // "line 12: ..."
};

ExportContents ReadRegistryExport(std::string_view bytes);

}  // namespace migration
