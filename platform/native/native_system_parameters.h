// SystemParametersInfoA on the native machine: the desktop wallpaper, kept where Windows keeps
// it (HKCU\Control Panel\Desktop "Wallpaper"). A change made without SPIF_UPDATEINIFILE lasts as
// long as this object, which stands for the log-on session.
#pragma once

#include <optional>
#include <string>

#include "platform/file_system.h"
#include "platform/registry.h"
#include "platform/system_parameters.h"

namespace platform {

class NativeSystemParameters final : public SystemParameters {
 public:
  // `files` and `registry` must outlive this object.
  NativeSystemParameters(FileSystem& files, Registry& registry);

  Status SystemParametersInfoA(UINT uiAction, UINT uiParam, void* pvParam, UINT fWinIni) override;

 private:
  [[nodiscard]] Status setWallpaper(const char* path, UINT fWinIni);
  [[nodiscard]] Status getWallpaper(UINT size, char* buffer);

  FileSystem& m_files;
  Registry& m_registry;
  std::optional<std::string> m_sessionWallpaper;
};

}  // namespace platform
