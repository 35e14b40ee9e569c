#include "frame/start_up.h"

#include "context/mdl_config.h"
#include "context/mdl_main.h"
#include "context/mdl_registry.h"
#include "context/program.h"
#include "frame/frm_main.h"
#include "platform/text_encoding.h"

namespace migration {

namespace {

constexpr const char* kWinlogonKey = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon";

// Installation accounts: a migration started under them must do nothing at all.
bool isDeploymentAccount(const std::string& userName) {
  const std::string upper = platform::ansiToUpper(userName);
  return upper == "W2KINST" || upper == "NTDEPLOY";
}

void showNoConfigFile(Program& program) {
  program.runLog().failure("No Config File: no configuration file at " +
                           program.config.strConfigFile);
  program.msgBox(
      "No configuration file was found.\r\nPlease make sure a CONFIG.MIG file\r\nexists in the "
      "program directory.",
      forms::MsgButtons::OK, forms::MsgIcon::Exclamation, "No Config File");
}

}  // namespace

void Main(Program& program) {
  SessionContext& session = program.session;
  session.bAutoMode = false;
  session.bRestoreMode = false;
  session.strUserName = System::Username(program.machine().environment());
  if (session.strUserName == "rvadmin") {
    // The administrator account migrates the machine's default logon user.
    session.strUserName =
        withoutFinalNul(QueryKeyValue(program.registry(), platform::HKEY_LOCAL_MACHINE,
                                      kWinlogonKey, "DefaultUserName")
                            .toText());
  }
  session.strOS = GetEnvVar(program, "OS");
  if (isDeploymentAccount(session.strUserName)) return;
  session.strAppPath = program.machine().programDirectory();
  session.bCancel = false;

  if (!LoadConfig(program)) {
    showNoConfigFile(program);
    return;
  }
  if (program.commandLine() == "auto") session.bAutoMode = true;
  if (program.commandLine() == "restore") session.bRestoreMode = true;

  if (session.bAutoMode || session.bRestoreMode) {
    program.sharedForm<frmMain>().load();
  } else {
    program.sharedForm<frmMain>().show(forms::ShowMode::Modeless);
  }
}

}  // namespace migration
