// One Windows machine: everything the program reaches of the platform.
#pragma once

#include <string>

#include "platform/clock.h"
#include "platform/environment.h"
#include "platform/file_system.h"
#include "platform/library_loader.h"
#include "platform/network.h"
#include "platform/printers.h"
#include "platform/processes.h"
#include "platform/registry.h"
#include "platform/shell_ui_helper.h"
#include "platform/system_parameters.h"
#include "platform/thread_service.h"

namespace platform {

class Machine {
 public:
  virtual ~Machine() = default;
  virtual FileSystem& files() = 0;
  virtual Registry& registry() = 0;
  virtual Environment& environment() = 0;
  virtual Processes& processes() = 0;
  virtual Clock& clock() = 0;
  virtual Printers& printers() = 0;
  virtual Network& network() = 0;
  virtual SystemParameters& systemParameters() = 0;
  virtual ShellUIHelper& shellUIHelper() = 0;
  // The directory of the running program, as a Windows path without a trailing backslash.
  virtual std::string programDirectory() = 0;
  // Loads libraries by Windows path (the component the program hosts); null on a machine that
  // cannot.
  virtual LibraryLoader* libraryLoader() { return nullptr; }
  // Runs work on the machine's other processors; null on a machine that cannot.
  virtual ThreadService* threads() { return nullptr; }
};

}  // namespace platform
