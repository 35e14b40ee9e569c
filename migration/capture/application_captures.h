// The captures of application settings: registry keys exported at once into named files of the
// drivers directory, and the files of Lotus Notes and Approach copied into "Files". The steps
// report nothing to the user; the run log has what each export and copy did.
#pragma once

#include <string>

namespace migration {

class CaptureRun;

void CaptureOffice(CaptureRun& run, const std::string& driversDir);
void CaptureIE(CaptureRun& run, const std::string& driversDir);
void CaptureAdobe(CaptureRun& run, const std::string& driversDir);
void CaptureVisualStudio(CaptureRun& run, const std::string& driversDir);
// The copied bookmark file, or "" when the machine has none.
std::string CaptureNetscape(CaptureRun& run, const std::string& driversDir);
void CaptureLotusNotes(CaptureRun& run, const std::string& migrationDir);
void CaptureApproachIni(CaptureRun& run, const std::string& migrationDir);

}  // namespace migration
