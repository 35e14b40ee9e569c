// Where the native machine keeps servers and shares: the folders dosdevices/unc/<server>/<share>
// of the machine root.
#pragma once

#include <filesystem>
#include <string>

#include "path_resolver.h"

namespace platform {

// The host folder of a server, found without regard to case; empty when there is none.
std::filesystem::path serverFolder(const PathResolver& resolver, const std::string& server);
// The host folder of a share of that server; empty when there is none.
std::filesystem::path shareFolder(const std::filesystem::path& server, const std::string& share);

}  // namespace platform
