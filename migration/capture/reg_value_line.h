// One value of a REGEDIT4 export as the line a registry editor imports back unchanged: text in
// double quotes with every backslash and double quote escaped, a 4-byte REG_DWORD as "dword:",
// REG_BINARY as "hex:" on one line, and every other value (REG_EXPAND_SZ, REG_MULTI_SZ, any
// other type, text with a NUL inside, without its final NUL, or holding a line break) as
// "hex(N):" with its bytes, continued over lines as the registry editor writes it.
#pragma once

#include <string>
#include <string_view>

#include "platform/registry.h"

namespace migration {

// Every "\" and every double quote with a backslash in front, as quoted REGEDIT4 text needs.
std::string EscapeBackslashes(std::string_view text);

// Appends the value's line with its CR LF to `out`. `data` is the data as the registry gives it
// (text with its final NUL). An empty name with data is the default value "@"; an empty name
// without data keeps the quoted form "". False, with nothing appended, when the name holds a
// line break, which no REGEDIT4 line can carry.
[[nodiscard]] bool AppendValueLine(std::string& out, std::string_view name, platform::DWORD type,
                                   std::string_view data);

}  // namespace migration
