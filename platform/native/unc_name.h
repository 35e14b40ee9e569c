// A share's UNC name (\\server\share) taken apart, and where the native machine keeps servers
// and shares: the folders dosdevices/unc/<server>/<share> of the machine root.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "path_resolver.h"

namespace platform {

struct UncName {
  std::string server;
  std::string share;

  std::string text() const { return "\\\\" + server + "\\" + share; }
};

// \\server\share with two names that Windows allows and nothing after them; nothing otherwise.
std::optional<UncName> parseUncName(std::string_view text);

// The host folder of a server, found without regard to case; empty when there is none.
std::filesystem::path serverFolder(const PathResolver& resolver, const std::string& server);
// The host folder of a share of that server; empty when there is none.
std::filesystem::path shareFolder(const std::filesystem::path& server, const std::string& share);

}  // namespace platform
