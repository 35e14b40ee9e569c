// The main window's export command.
#include "frame/frm_main.h"

namespace migration {

void frmMain::cmdMigrate_Click(int /*index*/) {
  // FIXME: comes with the settings capture.
}

}  // namespace migration
