#include "capture/network_drive_capture.h"

#include "capture/capture_run.h"
#include "context/mdl_main.h"

namespace migration {

void CaptureNetworkDrives(CaptureRun& run) {
  for (const std::string& entry : run.window().driveEntries()) {
    if (!IsNetworkDrive(run.program(), entry.substr(0, 2))) continue;
    run.WriteMasterLine(entry);
    run.log().note("network drive " + entry);
  }
  run.WriteMasterLine("");
}

}  // namespace migration
