// Maps Windows paths onto the machine root, which is laid out as a Wine prefix: drives are
// links dosdevices/<letter>: (lower case), shares are folders dosdevices/unc/<server>/<share>.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>

#include "folder_index.h"
#include "platform/status.h"
#include "windows_path.h"

namespace platform {

enum class DriveState { Missing, NotReady, Ready };

// Where a Windows path lands on the host.
struct HostPath {
  std::filesystem::path host;
  // The path with the stored case of every existing name and the given case of the rest.
  WindowsPath windows;
  // How many trailing names do not exist yet (0: the whole path exists).
  std::size_t missing = 0;

  bool exists() const { return missing == 0; }
  bool parentExists() const { return missing <= 1; }
};

class PathResolver {
 public:
  explicit PathResolver(std::filesystem::path machineRoot);

  const std::filesystem::path& machineRoot() const { return m_root; }
  std::filesystem::path dosdevices() const { return m_root / "dosdevices"; }
  // The link that names a drive, e.g. <root>/dosdevices/c:.
  std::filesystem::path driveLink(char letter) const;
  DriveState driveState(char letter) const;

  // Finds each existing name without regard to case (the exact name first). A missing drive
  // gives ERROR_PATH_NOT_FOUND, a drive whose target is missing ERROR_NOT_READY, a missing share
  // ERROR_BAD_NETPATH, a file used as a folder ERROR_PATH_NOT_FOUND.
  Result<HostPath> resolve(const WindowsPath& path);

  // The names of the folders looked into, for every other lookup of a name in a host folder.
  FolderIndex& names() { return m_names; }

 private:
  Result<HostPath> resolveRoot(const WindowsPath& path) const;
  std::filesystem::path m_root;
  FolderIndex m_names;
};

}  // namespace platform
