// Windows status codes the component uses beyond those of platform/status.h.
#pragma once

#include "platform/status.h"

namespace parcelon {

inline constexpr platform::Status kErrorBadFormat = 11;      // ERROR_BAD_FORMAT
inline constexpr platform::Status kErrorInvalidData = 13;    // ERROR_INVALID_DATA
inline constexpr platform::Status kErrorFileTooLarge = 223;  // ERROR_FILE_TOO_LARGE
inline constexpr platform::Status kErrorNotFound = 1168;     // ERROR_NOT_FOUND

}  // namespace parcelon
