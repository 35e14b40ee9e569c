// The REGEDIT4 export: one registry key with all its values and sub-keys, pre-order, into one
// file that the registry editor imports on the new machine ("regedit /s"). Every value is
// carried in a form that imports back with its type and bytes (see reg_value_line.h); the Office
// rewrites of export_path_tokens.h act on key paths, value names and text data on the way out.
// Sub-keys of the desktop's look ("Appearance", "Desktop", ...) are left out on Windows 95/98,
// whose values for them do not suit the new machine. The size limit of the main window stops
// the walk before the next key once the text has grown past it; the report says so.
//
// The export reaches the machine and the window only through ExportContext, so that it runs
// without the main window.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/environment.h"
#include "platform/file_system.h"
#include "platform/registry.h"

namespace migration {

struct ExportContext {
  platform::Registry& registry;
  platform::FileSystem& files;
  platform::Environment& environment;  // "OS" tells Windows 95/98 from NT
  // Lets the window process pending events; called before each sub-key. May be empty.
  std::function<void()> doEvents;
  // The size limit as the user left it (the text of txtLimitLength), read at every check; no
  // limit when empty.
  std::function<std::string()> limitText;
};

struct PassedOverValue {
  std::string key;   // full key name, root included
  std::string name;  // as far as it could be read; empty when the enumeration itself failed
  std::string reason;
};

struct SkippedKey {
  std::string key;  // full key name, root included
  platform::Status status;
};

// What one export did, for the run log.
struct ExportReport {
  std::string key;       // the key exported, root name included
  std::string fileName;  // the file written
  std::size_t keysWritten = 0;
  std::size_t valuesWritten = 0;
  std::vector<PassedOverValue> valuesPassedOver;
  std::vector<SkippedKey> keysSkipped;  // could not be opened; their sub-trees are missing too
  std::size_t keysLeftOut = 0;          // Windows 95/98 desktop keys left out on purpose
  bool cutByLimit = false;
  std::string cutAtKey;          // the first key the limit kept out
  bool limitUnreadable = false;  // the limit was no number, so none applied
  bool rootUnknown = false;      // no predefined root: nothing exported, no file written
  platform::Status fileStatus = platform::ERROR_SUCCESS;  // creating and writing the file

  // Everything exported and the file written.
  bool complete() const {
    return !rootUnknown && !cutByLimit && valuesPassedOver.empty() && keysSkipped.empty() &&
           fileStatus.ok();
  }
};

// "HKEY_CURRENT_USER" and the other full names of the predefined roots a REGEDIT4 file can
// name; nothing for any other handle.
std::optional<std::string> RegistryRootName(platform::HKEY root);

// Exports root\keyPath (no leading backslash, blanks around it ignored; empty for the root
// itself) into `fileName`, replacing the file. A key that cannot be opened leaves a file with
// the header only.
ExportReport ExportRegistryKey(ExportContext& context, platform::HKEY root,
                               const std::string& keyPath, const std::string& fileName);

// The lines a run log prints for one export.
std::vector<std::string> DescribeExport(const ExportReport& report);

}  // namespace migration
