// The printer programs the native machine runs itself, as a restore starts them:
//   con2prt /c \\server\share [/c ...]   connects to printers the network shares (/cd also;
//                                         /f first removes every connection)
//   rundll32 printui.dll,PrintUIEntry /if /b NAME /f INF /r PORT /m MODEL
//                                         installs the local printer NAME with the driver MODEL,
//                                         which the catalogue INF must list
// Each gives the exit code 0 when it did everything it was asked, 1 otherwise (the real programs
// tell their failures in a window; nothing here waits for one). What they change is written
// through to the machine when they end, as a program of its own would leave it.
#pragma once

#include <cstdint>
#include <string>

#include "native_printers.h"
#include "native_processes.h"
#include "platform/file_system.h"
#include "platform/registry.h"

namespace platform {

class PrinterPrograms {
 public:
  // Every argument must outlive this object.
  PrinterPrograms(NativePrinters& printers, FileSystem& files, Registry& registry);

  // Builds con2prt and rundll32 into `processes`; `processes` must not outlive this object.
  void installInto(NativeProcesses& processes);

  std::uint32_t runCon2prt(const std::string& arguments);
  std::uint32_t runRundll32(const std::string& arguments);

 private:
  std::uint32_t runPrintUIEntry(const std::string& arguments);
  void writeThrough();

  NativePrinters& m_printers;
  FileSystem& m_files;
  Registry& m_registry;
};

}  // namespace platform
