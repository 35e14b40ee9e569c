// SystemParametersInfoA of the machine the program runs on. A wallpaper that names no file is
// refused before Windows sees it, as on every backend: Windows 95/98 would take the name and
// show nothing.
#pragma once

#include "platform/file_system.h"
#include "platform/system_parameters.h"

namespace platform {

class Win32SystemParameters final : public SystemParameters {
 public:
  explicit Win32SystemParameters(FileSystem& files) : m_files(files) {}
  Status SystemParametersInfoA(UINT uiAction, UINT uiParam, void* pvParam, UINT fWinIni) override;

 private:
  FileSystem& m_files;
};

}  // namespace platform
