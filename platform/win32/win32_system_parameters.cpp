#include "win32_system_parameters.h"

#include <string>

#include "win32_status.h"
#include "windows_api.h"

namespace platform {

Status Win32SystemParameters::SystemParametersInfoA(UINT uiAction, UINT uiParam, void* pvParam,
                                                    UINT fWinIni) {
  std::string wallpaper;
  if (uiAction == SPI_SETDESKWALLPAPER) {
    wallpaper = pvParam != nullptr ? static_cast<const char*>(pvParam) : "";
    if (!wallpaper.empty() && !m_files.fileExists(wallpaper)) return Status(ERROR_FILE_NOT_FOUND);
    // Windows wants a writable buffer; "" removes the wallpaper.
    pvParam = wallpaper.data();
  } else if (uiAction != SPI_GETDESKWALLPAPER) {
    return Status(ERROR_INVALID_SPI_VALUE);
  }
  if (!::SystemParametersInfoA(uiAction, uiParam, pvParam, fWinIni)) return lastWindowsError();
  return Status();
}

}  // namespace platform
