// Connections to network shares, as WNetAddConnection2A makes them: a drive letter mapped to
// \\server\share, or a connection without a letter. Text is ANSI.
#pragma once

#include "platform/registry.h"
#include "platform/status.h"

namespace platform {

inline constexpr DWORD RESOURCE_CONNECTED = 1;
inline constexpr DWORD RESOURCE_GLOBALNET = 2;
inline constexpr DWORD RESOURCE_REMEMBERED = 3;

inline constexpr DWORD RESOURCETYPE_ANY = 0;
inline constexpr DWORD RESOURCETYPE_DISK = 1;
inline constexpr DWORD RESOURCETYPE_PRINT = 2;

inline constexpr DWORD RESOURCEDISPLAYTYPE_GENERIC = 0;
inline constexpr DWORD RESOURCEUSAGE_CONNECTABLE = 1;

// The connection is remembered in the user's profile and made again at the next log-on.
inline constexpr DWORD CONNECT_UPDATE_PROFILE = 1;

// Windows' NETRESOURCEA; the call only reads it, so the texts are const here.
struct NETRESOURCEA {
  DWORD dwScope = 0;
  DWORD dwType = RESOURCETYPE_ANY;  // a drive letter makes it a disk connection
  DWORD dwDisplayType = 0;
  DWORD dwUsage = 0;
  const char* lpLocalName = nullptr;   // "F:", or null or "" for no letter
  const char* lpRemoteName = nullptr;  // \\server\share
  const char* lpComment = nullptr;
  const char* lpProvider = nullptr;  // null or "" lets the system choose
};

class Network {
 public:
  virtual ~Network() = default;

  // WNetAddConnection2A. A null `password` and `userName` use the logged-on user's credentials.
  // ERROR_SUCCESS, or:
  //   ERROR_INVALID_PARAMETER  no record, no remote name, or a resource type Windows lacks
  //   ERROR_BAD_DEVICE         a local name that is no drive letter or port
  //   ERROR_BAD_DEV_TYPE       a disk connection for a printer port, a printer connection for a
  //                            drive letter, or a drive letter for the IPC$ share
  //   ERROR_NOT_SUPPORTED      a printer connection on a backend that redirects no printer
  //                            ports (the native one)
  //   ERROR_BAD_PROVIDER       a provider other than "Microsoft Windows Network"
  //   ERROR_ALREADY_ASSIGNED   the letter is in use
  //   ERROR_DEVICE_ALREADY_REMEMBERED  CONNECT_UPDATE_PROFILE for a letter the profile remembers
  //   ERROR_BAD_NETPATH        no such server
  //   ERROR_BAD_NET_NAME       no such share, or a remote name that is not \\server\share
  virtual Status WNetAddConnection2A(const NETRESOURCEA* netResource, const char* password,
                                     const char* userName, DWORD flags) = 0;
};

}  // namespace platform
