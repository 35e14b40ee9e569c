#include "context/script_file.h"

#include "forms/dir_list_box.h"
#include "platform/text_encoding.h"

namespace migration {

std::string ScriptFilePath(const SessionContext& session) {
  return forms::joinPath(session.strAppPath, "script.mig");
}

bool IsRegistryEntry(std::string_view line) {
  return line.size() >= 4 && platform::ansiEqualNoCase(line.substr(0, 4), "hkey");
}

}  // namespace migration
