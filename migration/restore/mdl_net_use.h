// Maps a drive letter (or a connection without one) to a network share again, as the restore does
// for each line of the captured "[Drives]" list.
#pragma once

#include <optional>
#include <string>

#include "platform/network.h"
#include "platform/status.h"

namespace migration {

// ConnectNetDrive: WNetAddConnection2A for a disk connection of `localName` ("F:", or empty for
// none) to `remoteName` (\\server\share). The names must qualify, with case: a remote name
// \\...\..., and a local name that is empty, "LPT1" to "LPT3" or "D:" to "Z:", or a remote name
// ending in \IPC$; otherwise ERROR_BAD_DEVICE without calling the platform. The credentials reach
// the platform only when both are given (else the logged-on user's are used); the connection is
// remembered in the profile unless `persistent` is given as false. Gives the platform's status.
[[nodiscard]] platform::Status ConnectNetDrive(
    platform::Network& network, const std::string& localName, const std::string& remoteName,
    const std::optional<std::string>& userName = std::nullopt,
    const std::optional<std::string>& password = std::nullopt,
    std::optional<bool> persistent = std::nullopt);

}  // namespace migration
