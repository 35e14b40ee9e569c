// What the modules see of the main window: its status line, the lists they fill or read, and the
// fields and check boxes they read or set. The window itself lives above the modules, which reach
// it only through this.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "forms/list_view.h"

namespace parcelon {
class xZip;
}

namespace migration {

class MainWindow {
 public:
  virtual ~MainWindow() = default;

  // Panel 1 carries the activity, panel 2 a running count.
  virtual void Update_Status(int panel, const std::string& text) = 0;
  // Selects every row of the found-files list.
  virtual void Select_All() = 0;
  // Restores the data files from the archive the pointer file names.
  virtual void RestoreFilesAlso() = 0;
  // Creates the missing folders of `path`, from the one before its level-th backslash on.
  virtual void creatpath(const std::string& path, int level) = 0;

  enum class Field {
    MigrateDir,    // txtMigrateDir: the migration directory
    FileDir,       // txtFileDir: where data files are copied
    MigFile,       // txtMigFile: the master command file to restore from
    RestoreFiles,  // txtRestoreFiles: where restored files go
    LimitLength,   // txtLimitLength: the size limit of a registry export
  };
  virtual std::string fieldText(Field field) const = 0;
  virtual void setFieldText(Field field, const std::string& text) = 0;

  enum class Option {
    CustomTypes,       // chkCustom
    SaveDirectories,   // chkSaveDir
    DataOnly,          // chkData
    RestoreDocuments,  // chkRestoreFiles
  };
  virtual bool isChecked(Option option) const = 0;
  // Checks the box as a user's click would, with what the click does.
  virtual void check(Option option) = 0;

  // lvFiles: the found files, one row per file.
  virtual forms::ListView& foundFiles() = 0;
  // lvType: the custom file types, one extension per row.
  virtual forms::ListView& customTypes() = 0;
  // The entries of lstStandardFiles that are selected, by index.
  virtual std::vector<std::size_t> selectedStandardTypes() const = 0;
  // lstMigration: how many settings it lists, and whether one is selected.
  virtual std::size_t settingsCount() const = 0;
  virtual bool settingSelected(std::size_t index) const = 0;
  // drvScan's entries as the drive list shows them ("c: [SYSTEM]", "f: [\\server\share]").
  virtual std::vector<std::string> driveEntries() const = 0;

  // The zip component, or null when the machine has none.
  virtual parcelon::xZip* zipComponent() = 0;
};

}  // namespace migration
