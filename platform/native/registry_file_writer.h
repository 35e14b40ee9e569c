// Writes a hive in Wine's registry file format, the form Wine itself writes: a file that was
// read in that form and not changed comes out byte for byte the same.
#pragma once

#include <string>

#include "registry_hive.h"

namespace platform {

std::string formatRegistryFile(const RegistryHive& hive);

// One value's line(s), as they stand in a key's section (used by tests and diagnostics too).
std::string formatRegistryValue(const RegistryValue& value);

}  // namespace platform
