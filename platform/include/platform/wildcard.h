// The one wildcard match of the program, as FindFirstFile applies it: "*" matches any run of
// characters (an empty one too), "?" exactly one, letters compare without regard to case
// (Windows-1252), and "*" and "*.*" match every name, also one without a dot.
#pragma once

#include <string_view>

namespace platform {

bool matchesWildcard(std::string_view pattern, std::string_view name);

}  // namespace platform
