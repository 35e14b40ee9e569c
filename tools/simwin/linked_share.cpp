#include "linked_share.h"

#include <system_error>

#include "host_files.h"
#include "platform/text_encoding.h"
#include "unc_name.h"

namespace simwin {
namespace {

namespace fs = std::filesystem;
using platform::Result;

Result<LinkedShare> failure(const std::string& message) {
  return Result<LinkedShare>::failure(platform::ERROR_INVALID_PARAMETER, message);
}

// The entry that names `name` in `folder` in any case, or a new one with the name as given: a
// sample's "fileserver" and a link's "FILESERVER" are one server.
fs::path entryFor(const fs::path& folder, const std::string& name) {
  const fs::path found = platform::findHostEntry(folder, name);
  return found.empty() ? folder / platform::ansiToUtf8(name) : found;
}

}  // namespace

Result<LinkedShare> parseLinkedShare(std::string_view text) {
  // No share name may hold "=", so the first one ends it; a folder may hold more.
  const std::size_t equals = text.find('=');
  if (equals == std::string_view::npos)
    return failure("a linked share reads \\\\server\\share=FOLDER");
  const auto name = platform::parseUncName(text.substr(0, equals));
  if (!name) return failure("not a \\\\server\\share: " + std::string(text.substr(0, equals)));
  const std::string_view folder = text.substr(equals + 1);
  if (folder.empty()) return failure("no host folder for " + name->text());
  std::error_code error;
  fs::path host = fs::absolute(fs::path(folder), error);
  if (error) return failure("cannot read the folder " + std::string(folder));
  return LinkedShare{name->text(), host.lexically_normal()};
}

std::optional<std::string> checkLinkedFolder(const LinkedShare& link, const fs::path& root) {
  std::error_code error;
  if (!fs::is_directory(link.hostFolder, error)) {
    return "the folder " + link.hostFolder.string() + " for " + link.share + " is no folder";
  }
  // The machine is cleared whole when it is made again, and the share with it.
  if (platform::isInsideHostFolder(link.hostFolder, root)) {
    return "the folder " + link.hostFolder.string() + " for " + link.share +
           " lies in the machine it would serve";
  }
  return std::nullopt;
}

std::optional<std::string> linkShare(const LinkedShare& link, const fs::path& root) {
  if (auto problem = checkLinkedFolder(link, root)) return problem;
  const auto name = platform::parseUncName(link.share);
  if (!name) return "not a \\\\server\\share: " + link.share;
  std::error_code error;
  const fs::path unc = root / "dosdevices" / "unc";
  const fs::path server = entryFor(unc, name->server);
  fs::create_directories(server, error);
  if (error) return "cannot make the server of " + link.share + ": " + error.message();
  const fs::path share = entryFor(server, name->share);
  // NOTE: remove_all takes a link away, never what it points to.
  fs::remove_all(share, error);
  if (!error) fs::create_directory_symlink(link.hostFolder, share, error);
  if (error) return "cannot link " + link.share + ": " + error.message();
  return std::nullopt;
}

}  // namespace simwin
