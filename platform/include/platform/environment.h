// Environment variables and the logged-on user, as the machine gives them.
#pragma once

#include <map>
#include <optional>
#include <string>

#include "platform/status.h"

namespace platform {

class Environment {
 public:
  virtual ~Environment() = default;

  // The value of a variable (names compare without regard to case), or nothing when unset.
  virtual std::optional<std::string> variable(const std::string& name) = 0;
  // Every variable, by name.
  virtual std::map<std::string, std::string> variables() = 0;
  // GetUserNameA: the logged-on user's name.
  virtual Result<std::string> userName() = 0;
};

}  // namespace platform
