// Connections to shares through the real WNetAddConnection2A (mpr.dll).
#pragma once

#include "platform/network.h"

namespace platform {

class Win32Network final : public Network {
 public:
  Status WNetAddConnection2A(const NETRESOURCEA* netResource, const char* password,
                             const char* userName, DWORD flags) override;
};

}  // namespace platform
