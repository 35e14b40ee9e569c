// The main window's export and restore commands.
#include "frame/frm_main.h"

namespace migration {

void frmMain::cmdMigrate_Click(int /*index*/) {
  // FIXME: comes with the export and restore work.
}

void frmMain::cmdRestoreSettings_Click() {
  // FIXME: comes with the export and restore work.
}

void frmMain::cmdRestoreFiles_Click() {
  // FIXME: comes with the export and restore work.
}

void frmMain::RestoreFilesAlso() {
  // FIXME: comes with the export and restore work.
}

}  // namespace migration
