#include "context/migration_dirs.h"

namespace migration {

std::string MigrationDirectoryOf(const std::string& chosenDirectory) {
  const std::string directory = chosenDirectory + "\\Migration";
  if (directory.size() >= 4 && directory.compare(1, 3, ":\\\\") == 0) {
    return directory.substr(0, 1) + ":\\Migration";
  }
  return directory;
}

bool CreateMigrationDirs(platform::FileSystem& files, const std::string& migrationDir) {
  for (const char* below : {"", "\\Drivers", "\\Files", "\\Folders"}) {
    if (files.createFolder(migrationDir + below) != platform::ERROR_SUCCESS) return false;
  }
  return true;
}

}  // namespace migration
