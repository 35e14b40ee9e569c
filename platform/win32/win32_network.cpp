#include "win32_network.h"

#include "windows_api.h"

namespace platform {
namespace {

// Windows' structure holds writable pointers although the call only reads it.
char* writable(const char* text) { return const_cast<char*>(text); }

}  // namespace

Status Win32Network::WNetAddConnection2A(const NETRESOURCEA* netResource, const char* password,
                                         const char* userName, DWORD flags) {
  if (netResource == nullptr) return Status(ERROR_INVALID_PARAMETER);
  ::NETRESOURCEA resource;
  resource.dwScope = netResource->dwScope;
  resource.dwType = netResource->dwType;
  resource.dwDisplayType = netResource->dwDisplayType;
  resource.dwUsage = netResource->dwUsage;
  resource.lpLocalName = writable(netResource->lpLocalName);
  resource.lpRemoteName = writable(netResource->lpRemoteName);
  resource.lpComment = writable(netResource->lpComment);
  resource.lpProvider = writable(netResource->lpProvider);
  return Status(::WNetAddConnection2A(&resource, password, userName, flags));
}

}  // namespace platform
