// Reads a Wine registry file (system.reg, user.reg) into a hive.
#pragma once

#include <memory>
#include <string_view>

#include "platform/status.h"
#include "registry_hive.h"

namespace platform {

// Loading is lenient, as Wine's is: CR LF is accepted, a line that cannot be read is kept as an
// unknown line, a value whose data cannot be read becomes an empty value of type 0 (its text kept
// for the next write), a repeated key merges, a repeated value keeps the last data. Only a bad
// header line or an unknown #arch refuses the file: ERROR_BADDB. Keys without a time get `now`.
Result<std::unique_ptr<RegistryHive>> readRegistryFile(std::string_view bytes, FileTime now);

}  // namespace platform
