#include "library_loader_native.h"

#include <dlfcn.h>

#include <filesystem>

#include "native_machine.h"

namespace platform {
namespace {

class NativeLibrary final : public Library {
 public:
  explicit NativeLibrary(void* handle) : m_handle(handle) {}
  ~NativeLibrary() override { dlclose(m_handle); }
  NativeLibrary(const NativeLibrary&) = delete;
  NativeLibrary& operator=(const NativeLibrary&) = delete;

  void* symbol(const char* name) override { return dlsym(m_handle, name); }

 private:
  void* m_handle;
};

}  // namespace

Result<std::unique_ptr<Library>> NativeLibraryLoader::load(const std::string& path) {
  auto located = m_files.locate(path);
  if (!located || !located->exists() || !std::filesystem::is_regular_file(located->host)) {
    return Result<std::unique_ptr<Library>>::failure(ERROR_MOD_NOT_FOUND, path);
  }
  // NOTE: RTLD_LOCAL keeps the library's own copies of shared code apart from the host's.
  void* handle = dlopen(located->host.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr)
    return Result<std::unique_ptr<Library>>::failure(ERROR_BAD_EXE_FORMAT, path);
  return std::unique_ptr<Library>(std::make_unique<NativeLibrary>(handle));
}

Result<std::string> NativeLibraryLoader::modulePath(const void* address) {
  Dl_info info{};
  if (dladdr(address, &info) == 0 || info.dli_fname == nullptr) {
    return Result<std::string>::failure(ERROR_MOD_NOT_FOUND);
  }
  std::error_code error;
  const auto host = std::filesystem::canonical(info.dli_fname, error);
  if (error) return Result<std::string>::failure(ERROR_MOD_NOT_FOUND, info.dli_fname);
  return windowsPathOfHostPath(host);
}

}  // namespace platform
