// Turns a sample machine (text sources in samples/<name>) into a machine root laid out as a
// Wine prefix: registry files, drive folders, dosdevices links, labels, times and attributes.
#pragma once

#include <filesystem>

#include "platform/status.h"

namespace simwin {

// A sample folder holds machine.txt, system.reg, user.reg and files/ (files/drive_c ...;
// files/unc/<server>/<share> for shares). `destination` must be missing, empty, or a machine
// this function made before (it is then replaced). A failure's subject says what is wrong;
// nothing outside `destination` is ever written.
platform::Result<std::filesystem::path> materialiseSample(const std::filesystem::path& sample,
                                                          const std::filesystem::path& destination);

}  // namespace simwin
