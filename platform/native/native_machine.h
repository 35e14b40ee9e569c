// The simulated Windows machine kept in a machine root laid out as a Wine prefix.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "library_loader_native.h"
#include "native_environment.h"
#include "native_file_system.h"
#include "native_network.h"
#include "native_printers.h"
#include "native_processes.h"
#include "native_registry.h"
#include "native_shell_ui_helper.h"
#include "native_system_parameters.h"
#include "native_thread_service.h"
#include "platform/machine.h"
#include "printer_programs.h"

namespace platform {

class NativeMachine final : public Machine {
 public:
  // The program directory is the running executable's folder seen through drive Z:, unless
  // TRANSVALE_PROGRAM_DIR names another (see hostProgramDirectory).
  NativeMachine(std::filesystem::path machineRoot, Clock& clock);
  // For tests and tools that place the program elsewhere (a Windows path).
  NativeMachine(std::filesystem::path machineRoot, Clock& clock, std::string programDirectory);
  // A machine that keeps its own clock: the host's, as a program that opens its machine wants.
  explicit NativeMachine(std::filesystem::path machineRoot);

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

  const std::filesystem::path& machineRoot() const { return m_root; }
  NativeFileSystem& nativeFiles() { return m_files; }
  NativeRegistry& nativeRegistry() { return m_registry; }
  NativePrinters& nativePrinters() { return m_printers; }
  NativeShellUIHelper& nativeShellUIHelper() { return m_shellUIHelper; }

 private:
  std::unique_ptr<Clock> m_ownClock;  // first: the parts below run on it
  std::filesystem::path m_root;
  Clock& m_clock;
  NativeRegistry m_registry;
  NativeFileSystem m_files;
  NativeEnvironment m_environment;
  NativeProcesses m_processes;
  std::string m_programDirectory;
  NativeLibraryLoader m_libraryLoader{m_files};
  NativePrinters m_printers{m_root, m_registry};
  PrinterPrograms m_printerPrograms{m_printers, m_files, m_registry};
  NativeNetwork m_network{m_root, m_registry};
  NativeSystemParameters m_systemParameters{m_files, m_registry};
  NativeShellUIHelper m_shellUIHelper{m_files, m_registry};
  NativeThreadService m_threads;
};

// The host path seen through drive Z: ("/work/bin" is "Z:\work\bin"), in ANSI.
std::string windowsPathOfHostPath(const std::filesystem::path& hostPath);

// The running executable's folder through Z:, or TRANSVALE_PROGRAM_DIR when it is set: a
// Windows path ("C:\Tools", "\\server\share\tools") as it is, a host path through Z:.
std::string hostProgramDirectory();

}  // namespace platform
