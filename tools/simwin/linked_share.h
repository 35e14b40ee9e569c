// A share of a materialised machine that is a folder of the host: machines made with the same
// link see one and the same share, as the machines of one network see one file server. The
// technician's migration directory travels from the old machine to the new one through it
// (`simwin materialise --share \\fileserver\migrate=FOLDER`).
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "platform/status.h"

namespace simwin {

struct LinkedShare {
  std::string share;                 // \\server\share
  std::filesystem::path hostFolder;  // absolute
};

// "\\server\share=FOLDER" (FOLDER relative to the working folder or absolute). A failure's
// subject says what is wrong.
platform::Result<LinkedShare> parseLinkedShare(std::string_view text);

// Makes the share a link to the host folder in the machine at `root`, in place of the folder
// (and its files) that the sample gave that share. The host folder must exist and lie outside
// the machine; it is never written here. The message says what is wrong.
std::optional<std::string> linkShare(const LinkedShare& link, const std::filesystem::path& root);

// A message when the host folder cannot serve as the share of a machine made at `root`: it is
// missing, no folder, or would be cleared with the machine.
std::optional<std::string> checkLinkedFolder(const LinkedShare& link,
                                             const std::filesystem::path& root);

}  // namespace simwin
