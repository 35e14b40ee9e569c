// The drives of the native machine: which letters exist, their types, readiness and labels.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "path_resolver.h"
#include "platform/file_system.h"
#include "platform/registry.h"

namespace platform {

class NativeDrives {
 public:
  // Types come from HKLM\Software\Wine\Drives; without a registry every drive has its default
  // type (A: and B: removable, the rest fixed). A letter linked to a share is remote whatever
  // the registry says.
  NativeDrives(const PathResolver& resolver, Registry* registry);

  Result<DriveInfo> drive(char letter) const;  // ERROR_INVALID_DRIVE when there is none
  std::vector<DriveInfo> drives() const;

 private:
  DriveType typeOf(char letter) const;
  std::optional<std::string> registeredType(char letter) const;
  std::optional<std::string> shareOf(char letter) const;
  std::string labelOf(char letter) const;

  const PathResolver& m_resolver;
  Registry* m_registry;
};

}  // namespace platform
