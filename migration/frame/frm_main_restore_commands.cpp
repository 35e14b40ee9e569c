// The main window's restore commands and the restore of the archived files.
#include "frame/frm_main.h"

namespace migration {

void frmMain::cmdRestoreSettings_Click() {
  // FIXME: comes with the settings restore.
}

void frmMain::cmdRestoreFiles_Click() {
  // FIXME: comes with the settings restore.
}

void frmMain::RestoreFilesAlso() {
  // FIXME: comes with the settings restore.
}

}  // namespace migration
