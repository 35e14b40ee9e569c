#include "application_captures.h"

#include "capture/capture_run.h"
#include "context/mdl_main.h"

namespace migration {

namespace {

using platform::HKEY_CURRENT_USER;
using platform::HKEY_LOCAL_MACHINE;

// The same key from both roots, into "<prefix>_HKCU.mig" and "<prefix>_HKLM.mig".
void exportBothRoots(CaptureRun& run, const std::string& driversDir, const std::string& key,
                     const std::string& prefix) {
  run.exportKey(HKEY_CURRENT_USER, key, driversDir + "\\" + prefix + "_HKCU.mig");
  run.exportKey(HKEY_LOCAL_MACHINE, key, driversDir + "\\" + prefix + "_HKLM.mig");
}

constexpr const char* kNotesKey = "Software\\Lotus\\Notes";
constexpr const char* kNotesDataPatterns[] = {"*.nsf", "*.ntf", "*.dsk", "*.nbf", "*.id", "*.njf"};

}  // namespace

void CaptureOffice(CaptureRun& run, const std::string& driversDir) {
  exportBothRoots(run, driversDir, "Software\\Microsoft\\Office", "Office");
}

void CaptureIE(CaptureRun& run, const std::string& driversDir) {
  run.exportKey(HKEY_CURRENT_USER, "Software\\Microsoft\\Internet Explorer",
                driversDir + "\\IE_HKCU.mig");
}

void CaptureAdobe(CaptureRun& run, const std::string& driversDir) {
  exportBothRoots(run, driversDir, "Software\\Adobe", "Adobe");
}

void CaptureVisualStudio(CaptureRun& run, const std::string& driversDir) {
  exportBothRoots(run, driversDir, "Software\\Microsoft\\VisualStudio", "Studio");
  exportBothRoots(run, driversDir, "Software\\Microsoft\\Visual Basic", "VB");
}

std::string CaptureNetscape(CaptureRun& run, const std::string& driversDir) {
  const std::string profile =
      run.textValue(HKEY_CURRENT_USER, "Software\\Netscape\\Netscape Navigator\\Biff",
                    "CurrentUser")
          .value_or("");
  const std::string users = "C:\\Program Files\\Netscape\\Users\\";
  for (const std::string& folder : {run.program().session.strUserName, std::string("default"),
                                    profile}) {
    const std::string bookmarks = users + folder + "\\bookmark.htm";
    if (!run.files().fileExists(bookmarks)) continue;
    if (!run.copyFile(bookmarks, driversDir + "\\", "Netscape bookmarks")) return {};
    return driversDir + "\\bookmark.htm";
  }
  run.log().note("no Netscape bookmark file");
  return {};
}

void CaptureLotusNotes(CaptureRun& run, const std::string& migrationDir) {
  const std::string program = run.textValue(HKEY_LOCAL_MACHINE, kNotesKey, "Path").value_or("");
  const std::string data = run.textValue(HKEY_LOCAL_MACHINE, kNotesKey, "DataPath").value_or("");
  if (program.empty() && data.empty()) {
    run.log().note("Lotus Notes is not installed");
    return;
  }
  // NOTE: the paths are joined as the registry holds them, with no backslash put between.
  run.copyFile(program + "notes.ini", migrationDir + "\\Files\\", "Lotus Notes settings");
  const std::string files =
      run.window().fieldText(MainWindow::Field::FileDir) + "\\Migration\\Files\\";
  for (const char* pattern : kNotesDataPatterns) {
    run.copyFile(data + pattern, files, "Lotus Notes data");
  }
}

void CaptureApproachIni(CaptureRun& run, const std::string& migrationDir) {
  run.copyFile(GetEnvVar(run.program(), "windir") + "\\approach.ini", migrationDir + "\\Files\\",
               "Lotus Approach settings");
}

}  // namespace migration
