#include "unc_name.h"

#include "windows_path.h"

namespace platform {

std::optional<UncName> parseUncName(std::string_view text) {
  if (text.size() < 2 || text[0] != '\\' || text[1] != '\\') return std::nullopt;
  const std::string_view rest = text.substr(2);
  const std::size_t separator = rest.find('\\');
  if (separator == std::string_view::npos) return std::nullopt;
  UncName name{std::string(rest.substr(0, separator)), std::string(rest.substr(separator + 1))};
  for (const std::string& part : {name.server, name.share}) {
    const bool valid = !part.empty() && part.find_first_of("\\/") == std::string::npos &&
                       isValidName(part, Wildcards::Refuse) && part != "." && part != "..";
    if (!valid) return std::nullopt;
  }
  return name;
}

}  // namespace platform
