// The machine the program runs on, through the real Windows API. Nothing is simulated: the
// registry, files, printers and connections are the computer's own.
#pragma once

#include <memory>
#include <string>

#include "native_shell_ui_helper.h"
#include "platform/machine.h"
#include "win32_environment.h"
#include "win32_file_system.h"
#include "win32_library_loader.h"
#include "win32_network.h"
#include "win32_printers.h"
#include "win32_processes.h"
#include "win32_registry.h"
#include "win32_system_parameters.h"
#include "win32_thread_service.h"

namespace platform {

class Win32Machine final : public Machine {
 public:
  // On the host's clock; the program directory is the executable's folder, unless
  // TRANSVALE_PROGRAM_DIR names another.
  Win32Machine();
  // For tests: another clock, and the program placed elsewhere (a Windows path).
  Win32Machine(Clock& clock, std::string programDirectory);

  FileSystem& files() override { return m_files; }
  Registry& registry() override { return m_registry; }
  Environment& environment() override { return m_environment; }
  Processes& processes() override { return m_processes; }
  Clock& clock() override { return m_clock; }
  Printers& printers() override { return m_printers; }
  Network& network() override { return m_network; }
  SystemParameters& systemParameters() override { return m_systemParameters; }
  ShellUIHelper& shellUIHelper() override { return m_shellUIHelper; }
  std::string programDirectory() override { return m_programDirectory; }
  LibraryLoader* libraryLoader() override { return &m_libraryLoader; }
  ThreadService* threads() override { return &m_threads; }

 private:
  std::unique_ptr<Clock> m_ownClock;  // first: the parts below run on it
  Clock& m_clock;
  std::string m_programDirectory;
  Win32FileSystem m_files;
  Win32Registry m_registry;
  Win32Environment m_environment;
  Win32Processes m_processes;
  Win32Printers m_printers;
  Win32Network m_network;
  Win32SystemParameters m_systemParameters{m_files};
  // The favorites import works through the file system and registry interfaces alone, so the
  // Win32 machine uses the same one: it fills the Favorites folder the user's shell folders name.
  NativeShellUIHelper m_shellUIHelper{m_files, m_registry};
  Win32LibraryLoader m_libraryLoader{m_files};
  Win32ThreadService m_threads;
};

// The running executable's folder, or TRANSVALE_PROGRAM_DIR when it is set.
std::string win32ProgramDirectory();

}  // namespace platform
