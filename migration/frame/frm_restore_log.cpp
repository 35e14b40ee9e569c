#include "frame/frm_restore_log.h"

#include "context/program.h"
#include "context/run_log.h"
#include "platform/text_file.h"

namespace migration {

frmRestoreLog::frmRestoreLog(Program& program)
    : forms::Form(program.ui(), "frmRestoreLog", "Restore Log"),
      lblPath("lblPath", ""),
      txtLog("txtLog"),
      cmdClose("cmdClose", "Close"),
      m_program(program) {
  add(lblPath);
  add(txtLog);
  add(cmdClose);
  cmdClose.onClick = [this] { cmdClose_Click(); };
}

void frmRestoreLog::showLog(const std::string& path) {
  lblPath.setCaption(path);
  auto text = platform::readWholeFile(m_program.files(), path);
  if (text) {
    txtLog.setText(*text);
    return;
  }
  std::string shown =
      "The log " + path + " cannot be read (" + RunLog::describe(text.status()) + ").";
  if (m_program.runLog().used()) {
    shown += "\r\nThe last run:";
    for (const std::string& line : m_program.runLog().summary()) shown += "\r\n" + line;
  }
  txtLog.setText(shown);
}

void frmRestoreLog::cmdClose_Click() { unload(); }

}  // namespace migration
