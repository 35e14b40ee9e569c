#include "frame/mdl_main.h"

#include <cassert>
#include <cctype>

#include "capture/mdl_registry.h"
#include "frame/frm_main.h"
#include "frame/mdl_config.h"
#include "frame/program.h"
#include "platform/text_encoding.h"

namespace migration {

namespace {

constexpr std::size_t kUserNameBuffer = 50;
constexpr const char* kWinlogonKey = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon";

// Installation accounts: a migration started under them must do nothing at all.
bool isDeploymentAccount(const std::string& userName) {
  const std::string upper = platform::ansiToUpper(userName);
  return upper == "W2KINST" || upper == "NTDEPLOY";
}

void showNoConfigFile(Program& program) {
  program.msgBox(
      "No configuration file was found.\r\nPlease make sure a CONFIG.MIG file\r\nexists in the "
      "program directory.",
      forms::MsgButtons::OK, forms::MsgIcon::Exclamation, "No Config File");
}

}  // namespace

namespace System {

std::string Username(platform::Environment& environment) {
  auto name = environment.userName();
  // GetUserNameA fails when the name and its NUL do not fit the buffer.
  if (!name || name->size() + 1 > kUserNameBuffer) return {};
  std::string text = name.value();
  return text.substr(0, text.find('\0'));
}

}  // namespace System

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
    program.mainForm().load();
  } else {
    program.mainForm().show(forms::ShowMode::Modeless);
  }
}

std::string GetEnvVar(Program& program, const std::string& name) {
  return program.machine().environment().variable(name).value_or(std::string());
}

bool IsNetworkDrive(Program& program, const std::string& drive) {
  if (drive.empty()) return false;
  const auto info =
      program.files().drive(static_cast<char>(std::toupper(static_cast<unsigned char>(drive[0]))));
  return info && info->type == platform::DriveType::Remote;
}

std::string ReplaceText(const std::string& source, const std::string& search,
                        const std::string& replacement) {
  assert(!search.empty());
  if (search.empty()) return source;
  std::string result;
  std::size_t start = 0;
  for (std::size_t found = source.find(search); found != std::string::npos;
       found = source.find(search, start)) {
    result.append(source, start, found - start);
    result += replacement;
    start = found + search.size();
  }
  result.append(source, start, std::string::npos);
  return result;
}

}  // namespace migration
