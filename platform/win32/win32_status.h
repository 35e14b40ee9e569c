// The status of the last failed Windows call of this thread, as the platform's calls return it.
#pragma once

#include "platform/status.h"

namespace platform {

// GetLastError(), never ERROR_SUCCESS: a call that failed without saying why gives
// ERROR_ACCESS_DENIED rather than a success.
Status lastWindowsError();

}  // namespace platform
