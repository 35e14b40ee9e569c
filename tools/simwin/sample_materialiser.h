// Turns a sample machine (text sources in samples/<name>) into a machine root laid out as a
// Wine prefix: registry files, drive folders, dosdevices links, labels, times and attributes.
#pragma once

#include <filesystem>
#include <vector>

#include "linked_share.h"
#include "platform/status.h"

namespace simwin {

// A sample folder holds machine.txt, system.reg, user.reg and files/ (files/drive_c ...;
// files/unc/<server>/<share> for shares). `destination` must be missing, empty, or a machine
// this function made before (it is then replaced). Each linked share becomes a link to its host
// folder, in place of what the sample has for it. A failure's subject says what is wrong;
// nothing outside `destination` is ever written.
platform::Result<std::filesystem::path> materialiseSample(
    const std::filesystem::path& sample, const std::filesystem::path& destination,
    const std::vector<LinkedShare>& linkedShares = {});

}  // namespace simwin
