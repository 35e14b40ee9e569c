#include "frame/save_defaults.h"

#include <string>
#include <vector>

#include "context/mdl_config.h"
#include "context/mdl_registry.h"
#include "context/program.h"
#include "frame/frm_main.h"

namespace migration {

namespace {

std::string selectedIndexes(const forms::ListBox& list) {
  std::vector<std::string> indexes;
  for (const std::size_t index : list.selectedIndexes()) indexes.push_back(std::to_string(index));
  return joinCommaList(indexes);
}

std::string chosenIndexText(const forms::OptionGroup& group) {
  const int index = group.chosenIndex();
  return index < 0 ? std::string() : std::to_string(index);
}

void writeDefault(Program& program, const char* name, const std::string& value) {
  SetKeyValue(program.registry(), platform::HKEY_LOCAL_MACHINE, kDefaultsKey, name, value,
              platform::REG_SZ);
}

}  // namespace

void SaveDefaults(Program& program) {
  Configuration& config = program.config;
  frmMain& form = program.sharedForm<frmMain>();
  writeDefault(program, "ConfigFile", "Registry");
  writeDefault(program, "DefaultCopyDestination", config.strDefaultCopyDest);
  writeDefault(program, "DefaultMigrationDestination", config.strDefaultMigrationDest);
  writeDefault(program, "DefaultCustomTypes", config.varDefaultCustomTypes);
  config.strDefaultMigrationType =
      chosenIndexText(form.optMigFrom) + "," + chosenIndexText(form.optMigTo);
  writeDefault(program, "DefaultMigrationType", config.strDefaultMigrationType);
  writeDefault(program, "DefaultScanDrive", config.strDefaultScanDrive);
  config.strDefaultFileTypes = selectedIndexes(form.lstStandardFiles);
  writeDefault(program, "DefaultFileTypes", config.strDefaultFileTypes);
  config.strDefaultMigrationSettings = selectedIndexes(form.lstMigration);
  writeDefault(program, "DefaultMigrationSettings", config.strDefaultMigrationSettings);
  writeDefault(program, "DefaultExcludeList", config.strDefaultExcludeList);
}

}  // namespace migration
