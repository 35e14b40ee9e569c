// System-wide settings through SystemParametersInfoA; the program needs the desktop wallpaper.
#pragma once

#include <cstdint>

#include "platform/status.h"

namespace platform {

using UINT = std::uint32_t;

inline constexpr UINT SPI_SETDESKWALLPAPER = 0x0014;
inline constexpr UINT SPI_GETDESKWALLPAPER = 0x0073;

// Write the setting into the user's profile; announce the change to every window.
inline constexpr UINT SPIF_UPDATEINIFILE = 0x01;
inline constexpr UINT SPIF_SENDWININICHANGE = 0x02;

class SystemParameters {
 public:
  virtual ~SystemParameters() = default;

  // SystemParametersInfoA. Gives what GetLastError would after a FALSE, and ERROR_SUCCESS for
  // TRUE.
  // - SPI_SETDESKWALLPAPER: `pvParam` is the image's path (a const char*); "" or null removes
  //   the wallpaper. A path to no file gives ERROR_FILE_NOT_FOUND and changes nothing. With
  //   SPIF_UPDATEINIFILE the path is stored in HKCU\Control Panel\Desktop "Wallpaper"; without
  //   it the change lasts for the session only.
  // - SPI_GETDESKWALLPAPER: copies the path into `pvParam` (a char buffer of `uiParam`
  //   characters), cut to fit; "" when there is no wallpaper.
  // - any other action: ERROR_INVALID_SPI_VALUE.
  virtual Status SystemParametersInfoA(UINT uiAction, UINT uiParam, void* pvParam,
                                       UINT fWinIni) = 0;
};

}  // namespace platform
