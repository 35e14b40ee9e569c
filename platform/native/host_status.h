// Windows status codes for the host's errno values.
#pragma once

#include "platform/status.h"

namespace platform {

Status statusFromErrno(int error);

}  // namespace platform
