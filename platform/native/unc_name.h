// A share's UNC name (\\server\share) taken apart.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform {

struct UncName {
  std::string server;
  std::string share;

  std::string text() const { return "\\\\" + server + "\\" + share; }
};

// \\server\share with two names that Windows allows and nothing after them; nothing otherwise.
std::optional<UncName> parseUncName(std::string_view text);

}  // namespace platform
