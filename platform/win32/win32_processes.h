// Starting programs with CreateProcessA: the window style through STARTUPINFOA's wShowWindow,
// waiting with WaitForSingleObject. "regedit /s FILE" starts the machine's own registry editor,
// which imports the file; the program is found where Windows looks (the program's folder, the
// system folders, PATH).
#pragma once

#include "platform/processes.h"

namespace platform {

class Win32Processes final : public Processes {
 public:
  Result<ProcessOutcome> start(const std::string& commandLine, WindowStyle style,
                               Wait wait) override;
};

}  // namespace platform
