// The restore of the archived data files (the main window's RestoreFilesAlso): the archive that
// oldfile.cfg names is opened with the zip component and every entry extracted to drive C, keeping
// its folders when the archive kept them (Windows 95/98 desktop entries go to the profile's
// desktop on the NT family). Then each entry is judged for the restore report.
#pragma once

#include <string>
#include <vector>

#include "platform/file_system.h"
#include "restore/restore_report.h"

namespace migration {

class Program;

struct PlacedEntry {
  std::string name;      // as the archive names it
  std::string target;    // where the restore put it
  bool refused = false;  // never written: the name would leave the folder it goes into
  std::string problem;   // the error the component raised for it, if any
};

struct ArchiveRestore {
  std::string pointerFile;  // oldfile.cfg, as the restore looked for it
  std::string archive;      // as oldfile.cfg names it; empty when it names none
  std::string problem;      // why nothing could be extracted, if so
  std::vector<PlacedEntry> entries;
};

// The steps of RestoreFilesAlso, through the main window's fields, status line and zip
// component. Failures are passed over as the restore passes them over: a short pause, and on to
// the next step. An entry whose name would leave its folder is passed over (and logged) before
// any folder is made for it.
ArchiveRestore RestoreArchivedFiles(Program& program);

// Judges each entry against the archive's own table of contents (size and CRC-32) and adds the
// archive to `report`; a restore that found no archive to restore is a passed-over step.
void ReconcileArchive(platform::FileSystem& files, const ArchiveRestore& restored,
                      RestoreReport& report);

// True when an entry name would leave the folder it is extracted into: a drive, a leading "/" or
// "\", or a ".." component.
bool LeavesItsFolder(const std::string& entryName);

}  // namespace migration
