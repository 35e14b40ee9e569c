#include "win32_status.h"

#include "windows_api.h"

namespace platform {

Status lastWindowsError() {
  const ::DWORD code = ::GetLastError();
  return Status(code != 0 ? code : 5u);
}

}  // namespace platform
