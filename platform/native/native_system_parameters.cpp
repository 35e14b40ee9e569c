#include "native_system_parameters.h"

#include <algorithm>
#include <cstring>

#include "registry_values.h"

namespace platform {
namespace {

constexpr const char* kDesktopKey = "Control Panel\\Desktop";
constexpr const char* kWallpaperValue = "Wallpaper";

}  // namespace

NativeSystemParameters::NativeSystemParameters(FileSystem& files, Registry& registry)
    : m_files(files), m_registry(registry) {}

Status NativeSystemParameters::SystemParametersInfoA(UINT uiAction, UINT uiParam, void* pvParam,
                                                     UINT fWinIni) {
  switch (uiAction) {
    case SPI_SETDESKWALLPAPER:
      return setWallpaper(static_cast<const char*>(pvParam), fWinIni);
    case SPI_GETDESKWALLPAPER:
      return getWallpaper(uiParam, static_cast<char*>(pvParam));
    default:
      // NOTE: Windows gives this for an action it does not know; the native machine knows only
      // the wallpaper.
      return ERROR_INVALID_SPI_VALUE;
  }
}

Status NativeSystemParameters::setWallpaper(const char* path, UINT fWinIni) {
  // A null path restores the default wallpaper, which is none on the systems served.
  const std::string wallpaper = path == nullptr ? std::string() : std::string(path);
  if (!wallpaper.empty() && !m_files.fileExists(wallpaper)) return ERROR_FILE_NOT_FOUND;
  if ((fWinIni & SPIF_UPDATEINIFILE) != 0) {
    const Status stored =
        writeStringValue(m_registry, HKEY_CURRENT_USER, kDesktopKey, kWallpaperValue, wallpaper);
    if (stored.failed()) return stored;
  }
  // SPIF_SENDWININICHANGE tells the windows of the session; the native machine has none to tell.
  m_sessionWallpaper = wallpaper;
  return ERROR_SUCCESS;
}

Status NativeSystemParameters::getWallpaper(UINT size, char* buffer) {
  if (buffer == nullptr || size == 0) return ERROR_INVALID_PARAMETER;
  const std::string wallpaper = m_sessionWallpaper ? *m_sessionWallpaper
                                                   : readStringValue(m_registry, HKEY_CURRENT_USER,
                                                                     kDesktopKey, kWallpaperValue)
                                                         .value_or("");
  const std::size_t length = std::min<std::size_t>(wallpaper.size(), size - 1);
  std::memcpy(buffer, wallpaper.data(), length);
  buffer[length] = '\0';
  return ERROR_SUCCESS;
}

}  // namespace platform
