// Loading shared libraries (the host's DLLs) by Windows path, as LoadLibrary and
// GetModuleFileName do.
#pragma once

#include <memory>
#include <string>

#include "platform/status.h"

namespace platform {

// A loaded library; destroying it unloads it, so nothing taken from it may be used afterwards.
class Library {
 public:
  virtual ~Library() = default;
  // The address of an exported function or object, or nullptr when there is none.
  virtual void* symbol(const char* name) = 0;
};

class LibraryLoader {
 public:
  virtual ~LibraryLoader() = default;
  // A missing file gives ERROR_MOD_NOT_FOUND, a file that is no loadable library
  // ERROR_BAD_EXE_FORMAT.
  virtual Result<std::unique_ptr<Library>> load(const std::string& path) = 0;
  // The Windows path of the loaded library (or program) that holds `address`.
  virtual Result<std::string> modulePath(const void* address) = 0;
};

}  // namespace platform
