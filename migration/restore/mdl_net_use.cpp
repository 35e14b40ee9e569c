#include "restore/mdl_net_use.h"

#include <string_view>

namespace migration {

namespace {

// "\\*\*": two backslashes, then somewhere a further backslash.
bool isShareName(std::string_view remote) {
  return remote.size() >= 3 && remote.starts_with("\\\\") &&
         remote.find('\\', 2) != std::string_view::npos;
}

// "\\*\IPC$", with case.
bool isIpcShare(std::string_view remote) {
  constexpr std::string_view kIpc = "\\IPC$";
  return remote.size() >= 2 + kIpc.size() && remote.ends_with(kIpc);
}

// "LPT[1-3]", with case.
bool isPrinterPort(std::string_view local) {
  return local.size() == 4 && local.starts_with("LPT") && local[3] >= '1' && local[3] <= '3';
}

// "[D-Z]:", with case: a lower-case letter does not qualify.
bool isDriveLetter(std::string_view local) {
  return local.size() == 2 && local[0] >= 'D' && local[0] <= 'Z' && local[1] == ':';
}

bool namesQualify(std::string_view local, std::string_view remote) {
  if (!isShareName(remote)) return false;
  return local.empty() || isIpcShare(remote) || isPrinterPort(local) || isDriveLetter(local);
}

}  // namespace

platform::Status ConnectNetDrive(platform::Network& network, const std::string& localName,
                                 const std::string& remoteName,
                                 const std::optional<std::string>& userName,
                                 const std::optional<std::string>& password,
                                 std::optional<bool> persistent) {
  if (!namesQualify(localName, remoteName)) return platform::ERROR_BAD_DEVICE;
  const platform::DWORD flags =
      persistent.value_or(true) ? platform::CONNECT_UPDATE_PROFILE : platform::DWORD{0};

  platform::NETRESOURCEA resource;
  resource.dwType = platform::RESOURCETYPE_DISK;  // printer ports too: the record says disk
  resource.lpLocalName = localName.c_str();
  resource.lpRemoteName = remoteName.c_str();
  resource.lpComment = nullptr;
  resource.lpProvider = "";

  const bool credentials = userName.has_value() && password.has_value();
  return network.WNetAddConnection2A(&resource, credentials ? password->c_str() : nullptr,
                                     credentials ? userName->c_str() : nullptr, flags);
}

}  // namespace migration
