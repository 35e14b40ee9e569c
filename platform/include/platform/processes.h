// Starting programs by command line, as CreateProcess and the shell do.
#pragma once

#include <cstdint>
#include <string>

#include "platform/status.h"

namespace platform {

enum class WindowStyle { Hidden, Normal, Minimized, Maximized };
enum class Wait { No, Yes };

struct ProcessOutcome {
  // The exit code when the caller waited; 0 when it did not.
  std::uint32_t exitCode = 0;
};

class Processes {
 public:
  virtual ~Processes() = default;
  // Starts `commandLine`; a program that cannot be found gives ERROR_FILE_NOT_FOUND.
  virtual Result<ProcessOutcome> start(const std::string& commandLine, WindowStyle style,
                                       Wait wait) = 0;
};

}  // namespace platform
