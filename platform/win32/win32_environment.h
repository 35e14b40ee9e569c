// The process's environment and the logged-on user (GetEnvironmentStringsA, GetUserNameA).
#pragma once

#include "platform/environment.h"

namespace platform {

class Win32Environment final : public Environment {
 public:
  std::optional<std::string> variable(const std::string& name) override;
  std::map<std::string, std::string> variables() override;
  Result<std::string> userName() override;
};

}  // namespace platform
