// Libraries of the native machine: a Windows path is resolved through the machine's file system
// to the host file, which the host's dynamic loader loads.
#pragma once

#include "native_file_system.h"
#include "platform/library_loader.h"

namespace platform {

class NativeLibraryLoader final : public LibraryLoader {
 public:
  // The file system must outlive the loader.
  explicit NativeLibraryLoader(NativeFileSystem& files) : m_files(files) {}

  Result<std::unique_ptr<Library>> load(const std::string& path) override;
  // The host file seen through drive Z:, which maps the host's root.
  Result<std::string> modulePath(const void* address) override;

 private:
  NativeFileSystem& m_files;
};

}  // namespace platform
