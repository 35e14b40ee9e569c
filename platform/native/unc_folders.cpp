#include "unc_folders.h"

#include "host_files.h"

namespace platform {

std::filesystem::path serverFolder(const PathResolver& resolver, const std::string& server) {
  const std::filesystem::path found = findHostEntry(resolver.dosdevices() / "unc", server);
  return !found.empty() && isHostFolder(found) ? found : std::filesystem::path();
}

std::filesystem::path shareFolder(const std::filesystem::path& server, const std::string& share) {
  if (server.empty()) return {};
  const std::filesystem::path found = findHostEntry(server, share);
  return !found.empty() && isHostFolder(found) ? found : std::filesystem::path();
}

}  // namespace platform
