// The migration directory that a capture writes into, below the directory the user chose:
// "Migration" with its "Drivers", "Files" and "Folders" sub-directories.
#pragma once

#include <string>

#include "platform/file_system.h"

namespace migration {

// The chosen directory followed by "\Migration"; a drive root gives "C:\Migration", not
// "C:\\Migration". Nothing else is normalised.
std::string MigrationDirectoryOf(const std::string& chosenDirectory);

// Creates the migration directory, then "Drivers", "Files" and "Folders" below it, in that
// order; the first failure ends it with false.
bool CreateMigrationDirs(platform::FileSystem& files, const std::string& migrationDir);

}  // namespace migration
