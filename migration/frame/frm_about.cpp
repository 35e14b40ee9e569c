#include "frame/frm_about.h"

#include "context/mdl_registry.h"
#include "context/program.h"

#ifndef TRANSVALE_VERSION
#define TRANSVALE_VERSION "0.0.0"
#endif

namespace migration {

namespace {

constexpr const char* kMsInfoKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSInfo";
constexpr const char* kSharedToolsKey = "SOFTWARE\\Microsoft\\Shared Tools Location";

std::string readText(Program& program, const char* key, const char* name) {
  return withoutFinalNul(
      QueryKeyValue(program.registry(), platform::HKEY_LOCAL_MACHINE, key, name).toText());
}

}  // namespace

frmAbout::frmAbout(Program& program)
    : forms::Form(program.ui(), "frmAbout", "About Transvale!"),
      lblTitle("lblTitle", "Transvale!"),
      lblVersion("lblVersion", "Version " TRANSVALE_VERSION),
      lblDescription("lblDescription",
                     "Moves a user's documents and settings from an old Windows workstation to "
                     "a new one."),
      cmdOK("cmdOK", "OK"),
      cmdSysInfo("cmdSysInfo", "&System Info..."),
      m_program(program) {
  for (forms::Control* control : std::initializer_list<forms::Control*>{
           &lblTitle, &lblVersion, &lblDescription, &cmdOK, &cmdSysInfo}) {
    add(*control);
  }
  cmdOK.onClick = [this] { cmdOK_Click(); };
  cmdSysInfo.onClick = [this] { cmdSysInfo_Click(); };
}

void frmAbout::cmdOK_Click() { unload(); }

std::string frmAbout::systemInfoPath() const {
  std::string path = readText(m_program, kMsInfoKey, "Path");
  if (!path.empty()) return path;
  const std::string folder = readText(m_program, kSharedToolsKey, "MSINFO");
  return folder.empty() ? std::string() : folder + "\\MSINFO32.EXE";
}

void frmAbout::cmdSysInfo_Click() {
  const std::string path = systemInfoPath();
  const bool started =
      !path.empty() &&
      m_program.machine()
          .processes()
          .start("\"" + path + "\"", platform::WindowStyle::Normal, platform::Wait::No)
          .ok();
  if (!started) {
    m_program.msgBox("System Information Is Unavailable At This Time", forms::MsgButtons::OK,
                     forms::MsgIcon::None, "About Transvale!");
  }
}

}  // namespace migration
