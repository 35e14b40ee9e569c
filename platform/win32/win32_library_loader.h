// Libraries of the machine the program runs on: LoadLibraryA, GetProcAddress, and the module
// that holds an address (VirtualQuery and GetModuleFileNameA, which every Windows has).
#pragma once

#include "platform/file_system.h"
#include "platform/library_loader.h"

namespace platform {

class Win32LibraryLoader final : public LibraryLoader {
 public:
  // Relative paths are taken against `files`' current directory.
  explicit Win32LibraryLoader(FileSystem& files) : m_files(files) {}
  Result<std::unique_ptr<Library>> load(const std::string& path) override;
  Result<std::string> modulePath(const void* address) override;

 private:
  FileSystem& m_files;
};

}  // namespace platform
