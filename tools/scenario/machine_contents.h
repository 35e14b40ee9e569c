// What every backend writes of a described machine, through the platform interfaces: the files
// and folders, the registry lines and the zip component beside the program.
#pragma once

#include <string>

#include "machine_description.h"
#include "platform/file_system.h"
#include "platform/registry.h"

namespace scenario {

// The `reg` lines, in order. The first failure stops the writing: a machine that lacks part of
// its description would only make the scenario fail later, for a reason further from its cause.
platform::Status writeDescribedRegistry(platform::Registry& registry,
                                        const MachineDescription& description);

// The program directory, then the `file`, `folder` and `archive` lines with their times and
// attributes (files without a time get `now`); false with `error` when one cannot be made.
bool writeDescribedFiles(platform::FileSystem& files, const MachineDescription& description,
                         platform::FileTime now, std::string& error);

// The zip component's library (`bytes`, named `fileName`) beside the program, as an installation
// puts it there.
bool installZipComponent(platform::FileSystem& files, const MachineDescription& description,
                         const std::string& fileName, const std::string& bytes, std::string& error);

}  // namespace scenario
