// The copy of the user's files: the selected found files and the capture script's file entries
// packed into one archive, migfiles.mig, with the pointer file oldfile.cfg that tells the
// restore where it lies; and the fixed data and profile copies.
#pragma once

#include <string>

#include "platform/status.h"

namespace migration {

class Program;

// Archives the selected rows of lvFiles, then the file entries of the program directory's
// script.mig up to its first empty line, into `directory`\migfiles.mig (comment "Migrated
// Files", each entry "Migrated File", paths kept while chkSaveDir is checked), and writes
// <txtMigrateDir>\migration\oldfile.cfg naming that archive. Files that could not be added
// (the archive itself among them) are reported in one message at the end. Fails, with a message,
// without a migration directory or when the archive cannot be created or finished. The new
// archive and pointer replace the old ones only once the archive is complete: a copy that fails
// leaves the last good archive and its pointer as they were.
[[nodiscard]] platform::Status CopySelectedFiles(Program& program, const std::string& directory);

// Removes the blanks at both ends of `path` (the caller's text changes), then tells whether that
// folder exists; any failure gives false.
bool FolderExists(Program& program, std::string& path);

// Copies the conversion folder, the Outlook templates, normal.dot and the user's .FAV file into
// <txtFileDir>\Migration\Files\. Each step runs whatever the others did; failures are silent.
void CopyDataFiles(Program& program);

// Scans the user's profile under the Windows directory for documents, selects every found file
// and archives them into <txtFileDir>\migration\files\. Does nothing without a profile.
void BackupProfileFiles(Program& program);

}  // namespace migration
