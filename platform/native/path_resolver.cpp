#include "path_resolver.h"

#include <sys/stat.h>

#include <cctype>
#include <system_error>

#include "host_files.h"
#include "platform/text_encoding.h"

namespace platform {
namespace {

namespace fs = std::filesystem;

bool isDirectory(const fs::path& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool entryExists(const fs::path& path) {
  struct stat info {};
  return ::lstat(path.c_str(), &info) == 0;
}

}  // namespace

PathResolver::PathResolver(fs::path machineRoot)
    : m_root(fs::absolute(std::move(machineRoot)).lexically_normal()) {}

fs::path PathResolver::driveLink(char letter) const {
  const char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(letter)));
  return dosdevices() / (std::string(1, lower) + ":");
}

DriveState PathResolver::driveState(char letter) const {
  if (!std::isalpha(static_cast<unsigned char>(letter))) return DriveState::Missing;
  const fs::path link = driveLink(letter);
  if (isDirectory(link)) return DriveState::Ready;
  return entryExists(link) ? DriveState::NotReady : DriveState::Missing;
}

Result<HostPath> PathResolver::resolveRoot(const WindowsPath& path) const {
  HostPath out;
  out.windows = path;
  out.windows.names.clear();
  if (path.root == WindowsPath::Root::Drive) {
    switch (driveState(path.drive)) {
      case DriveState::Missing:
        return Result<HostPath>::failure(ERROR_PATH_NOT_FOUND, path.rootText());
      case DriveState::NotReady:
        return Result<HostPath>::failure(ERROR_NOT_READY, path.rootText());
      case DriveState::Ready:
        out.host = driveLink(path.drive);
        return out;
    }
  }
  const fs::path server = findHostEntry(dosdevices() / "unc", path.server);
  const fs::path share = server.empty() ? fs::path() : findHostEntry(server, path.share);
  if (share.empty() || !isDirectory(share)) {
    return Result<HostPath>::failure(ERROR_BAD_NETPATH, path.rootText());
  }
  out.windows.server = utf8ToAnsi(server.filename().string());
  out.windows.share = utf8ToAnsi(share.filename().string());
  out.host = share;
  return out;
}

Result<HostPath> PathResolver::resolve(const WindowsPath& path) {
  auto root = resolveRoot(path);
  if (!root) return root;
  HostPath out = std::move(root).value();
  // Most paths name what exists with the case it has: one look at the whole path then stands
  // for the exact-name-first lookup of every component.
  fs::path exact = out.host;
  for (const std::string& name : path.names) exact /= ansiToUtf8(name);
  if (path.names.empty()) return out;
  if (entryExists(exact)) {
    out.host = std::move(exact);
    out.windows.names = path.names;
    return out;
  }
  // Most new names are made in a folder that exists as named: one look at that folder then
  // stands for the walk down to it.
  const fs::path folder = exact.parent_path();
  struct stat info {};
  if (::stat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
    out.windows.names = path.names;
    const fs::path found = m_names.findOtherCase(folder, info, path.names.back());
    if (found.empty()) {
      out.host = std::move(exact);
      out.missing = 1;
    } else {
      out.host = found;
      out.windows.names.back() = utf8ToAnsi(found.filename().string());
    }
    return out;
  }
  for (std::size_t i = 0; i < path.names.size(); ++i) {
    const std::string& name = path.names[i];
    if (out.missing == 0) {
      // A name found proves its parent a folder; in a file, nothing is found.
      const fs::path found = m_names.find(out.host, name);
      if (!found.empty()) {
        out.host = found;
        out.windows.names.push_back(utf8ToAnsi(found.filename().string()));
        continue;
      }
      if (entryExists(out.host) && !isDirectory(out.host)) {
        return Result<HostPath>::failure(ERROR_PATH_NOT_FOUND, path.text());  // a file as folder
      }
    }
    out.host /= ansiToUtf8(name);
    out.windows.names.push_back(name);
    ++out.missing;
  }
  return out;
}

}  // namespace platform
