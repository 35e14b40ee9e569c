#include "win32_library_loader.h"

#include "win32_status.h"
#include "windows_api.h"

namespace platform {
namespace {

class Win32Library final : public Library {
 public:
  explicit Win32Library(::HMODULE module) : m_module(module) {}
  ~Win32Library() override { ::FreeLibrary(m_module); }
  Win32Library(const Win32Library&) = delete;
  Win32Library& operator=(const Win32Library&) = delete;

  void* symbol(const char* name) override {
    return reinterpret_cast<void*>(::GetProcAddress(m_module, name));
  }

 private:
  ::HMODULE m_module;
};

}  // namespace

Result<std::unique_ptr<Library>> Win32LibraryLoader::load(const std::string& path) {
  using Loaded = Result<std::unique_ptr<Library>>;
  // A bare name is looked for where Windows looks (the program's folder, the system folders);
  // a path is taken against the file system's current directory.
  const bool bareName = path.find_first_of("\\/:") == std::string::npos;
  const auto full = bareName ? Result<std::string>(path) : m_files.fullPath(path);
  if (!full) return full.failureAs<std::unique_ptr<Library>>();
  // No box about a missing or broken library: the caller reports it.
  const ::UINT previous = ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  ::HMODULE module = ::LoadLibraryA(full->c_str());
  const Status failure = module == nullptr ? lastWindowsError() : Status();
  ::SetErrorMode(previous);
  if (module == nullptr) {
    // A missing file is ERROR_MOD_NOT_FOUND as the interface says, whatever Windows chose.
    const bool missing = failure == Status(ERROR_FILE_NOT_FOUND) ||
                         failure == Status(ERROR_PATH_NOT_FOUND) ||
                         (!bareName && !m_files.fileExists(*full));
    return Loaded::failure(missing ? Status(ERROR_MOD_NOT_FOUND) : failure, *full);
  }
  return Loaded(std::make_unique<Win32Library>(module));
}

Result<std::string> Win32LibraryLoader::modulePath(const void* address) {
  ::MEMORY_BASIC_INFORMATION memory;
  if (::VirtualQuery(address, &memory, sizeof memory) == 0 || memory.AllocationBase == nullptr) {
    return Result<std::string>::failure(Status(ERROR_MOD_NOT_FOUND));
  }
  char name[MAX_PATH + 1];
  const ::DWORD length = ::GetModuleFileNameA(static_cast<::HMODULE>(memory.AllocationBase), name,
                                              sizeof name);
  if (length == 0 || length >= sizeof name) {
    return Result<std::string>::failure(Status(ERROR_MOD_NOT_FOUND));
  }
  return std::string(name, length);
}

}  // namespace platform
