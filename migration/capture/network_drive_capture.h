// The network drive capture: each drive letter mapped to a share, as the drive list shows it
// ("f: [\\server\share]"), one entry line of the "[Drives]" block.
#pragma once

namespace migration {

class CaptureRun;

// Writes the block's entry lines and its closing empty line; the driver has written the header.
void CaptureNetworkDrives(CaptureRun& run);

}  // namespace migration
