// The CONFIG.MIG reader on any bytes, with what the program does next with the values it read:
// the exclude list is split, the scan drive chosen in a drive list, and the destination folders
// looked up on the machine. Every value is one line of the file, and splitting a list at its
// commas and joining it again gives the list back.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "context/mdl_config.h"
#include "context/program.h"
#include "forms/drive_list_box.h"
#include "forms/scripted_ui.h"
#include "fuzz_check.h"
#include "scratch_machine.h"

namespace {

constexpr const char* kProgramDirectory = "C:\\scratch\\program";

fuzz::ScratchMachine& machine() {
  static fuzz::ScratchMachine instance(kProgramDirectory);
  return instance;
}

std::vector<const std::string*> valuesOf(const migration::Configuration& config) {
  return {&config.strDefaultCopyDest,      &config.strDefaultMigrationDest,
          &config.varDefaultCustomTypes,   &config.strDefaultMigrationType,
          &config.strDefaultScanDrive,     &config.strDefaultFileTypes,
          &config.strDefaultMigrationSettings, &config.strDefaultExcludeList};
}

void useValues(migration::Program& program) {
  migration::Configuration& config = program.config;
  for (const std::string* value : valuesOf(config)) {
    fuzz::check(value->find_first_of("\r\n") == std::string::npos, "a value is one line");
    fuzz::check(migration::joinCommaList(migration::splitCommaList(*value)) == *value,
                "a list split and joined comes back");
  }
  migration::LoadExcludeList(config);
  for (const std::string& folder : config.arrExcludeList) {
    static_cast<void>(program.files().folderExists(folder));
  }
  forms::DriveListBox drives("drvScan", program.files());
  drives.refresh();
  static_cast<void>(drives.setDrive(config.strDefaultScanDrive));
  static_cast<void>(migration::FileModifiedText(program, config.strDefaultCopyDest));
  static_cast<void>(migration::FileSizeKBText(program, config.strDefaultMigrationDest));
  platform::ignoreFailure(program.files().fullPath(config.strDefaultCopyDest),
                          "a destination that names no place is still a value");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::ScratchMachine& m = machine();
  m.resetScratch({kProgramDirectory});
  m.writeHostFile(std::string(kProgramDirectory) + "\\Config.mig",
                  std::string(reinterpret_cast<const char*>(data), size));
  {
    forms::ScriptedUi ui;
    migration::Program program(m.machine(), ui, "");
    program.session.strAppPath = m.machine().programDirectory();
    const bool loaded = migration::LoadConfig(program);
    fuzz::check(program.config.strConfigFile == std::string(kProgramDirectory) + "\\Config.mig",
                "the file is the one in the program directory");
    fuzz::check(loaded || size > 0, "an empty file reads to its end");
    useValues(program);
    fuzz::check(ui.messages().empty(), "reading the configuration shows no message");
  }
  m.checkNothingWrittenOutside();
  return 0;
}
