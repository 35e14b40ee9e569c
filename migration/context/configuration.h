// The program-wide configuration values read from CONFIG.MIG, and the exclude list built from
// them.
#pragma once

#include <string>
#include <vector>

namespace migration {

struct Configuration {
  std::string strConfigFile;  // full path of the configuration file
  std::string strDefaultCopyDest;
  std::string strDefaultMigrationDest;
  std::string varDefaultCustomTypes;  // extensions joined by commas, owned by the custom type list
  std::string strDefaultMigrationType;  // "from,to" option indexes
  std::string strDefaultScanDrive;
  std::string strDefaultFileTypes;         // indexes into the standard file types, by commas
  std::string strDefaultMigrationSettings;  // indexes into the settings list, by commas
  std::string strDefaultExcludeList;        // directories joined by commas
  std::vector<std::string> arrExcludeList;  // strDefaultExcludeList split at every comma
};

}  // namespace migration
