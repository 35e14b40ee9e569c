#include "native_drives.h"

#include <cctype>
#include <fstream>
#include <system_error>

#include "platform/text_encoding.h"
#include "platform/blanks.h"

namespace platform {
namespace {

namespace fs = std::filesystem;

constexpr const char* kDrivesKey = "Software\\Wine\\Drives";
constexpr const char* kLabelFile = ".windows-label";

DriveType typeFromName(const std::string& name) {
  const std::string upper = ansiToUpper(name);
  if (upper == "HD") return DriveType::Fixed;
  if (upper == "FLOPPY") return DriveType::Removable;
  if (upper == "CDROM") return DriveType::CdRom;
  if (upper == "NETWORK") return DriveType::Remote;
  if (upper == "RAMDISK") return DriveType::RamDisk;
  return DriveType::Unknown;
}

DriveType defaultType(char letter) {
  return letter == 'A' || letter == 'B' ? DriveType::Removable : DriveType::Fixed;
}

}  // namespace

NativeDrives::NativeDrives(const PathResolver& resolver, Registry* registry)
    : m_resolver(resolver), m_registry(registry) {}

std::optional<std::string> NativeDrives::registeredType(char letter) const {
  if (m_registry == nullptr) return std::nullopt;
  HKEY key = 0;
  if (m_registry->RegOpenKeyExA(HKEY_LOCAL_MACHINE, kDrivesKey, 0, KEY_QUERY_VALUE, &key) !=
      ERROR_SUCCESS) {
    return std::nullopt;
  }
  const std::string name = {static_cast<char>(std::tolower(static_cast<unsigned char>(letter))),
                            ':'};
  char text[64] = {};
  DWORD type = 0;
  DWORD size = sizeof text - 1;
  const Status status =
      m_registry->RegQueryValueExA(key, name.c_str(), &type, reinterpret_cast<BYTE*>(text), &size);
  ignoreFailure(m_registry->RegCloseKey(key), "a read-only handle: nothing to write back");
  if (status.failed() || type != REG_SZ) return std::nullopt;
  return std::string(text, size > 0 && text[size - 1] == '\0' ? size - 1 : size);
}

// The share a drive letter is mapped to, as \\server\share, when its link leads into
// dosdevices/unc.
std::optional<std::string> NativeDrives::shareOf(char letter) const {
  std::error_code error;
  const fs::path link = m_resolver.driveLink(letter);
  fs::path target = fs::read_symlink(link, error);
  if (error) return std::nullopt;
  if (target.is_relative()) target = link.parent_path() / target;
  const fs::path relative = target.lexically_normal().lexically_relative(m_resolver.dosdevices());
  auto part = relative.begin();
  if (part == relative.end() || *part != "unc") return std::nullopt;
  std::string names[2];
  for (std::string& name : names) {
    if (++part == relative.end() || part->empty()) return std::nullopt;
    name = utf8ToAnsi(part->string());
  }
  return "\\\\" + names[0] + "\\" + names[1];
}

std::string NativeDrives::labelOf(char letter) const {
  std::ifstream file(m_resolver.driveLink(letter) / kLabelFile, std::ios::binary);
  std::string line;
  if (!file || !std::getline(file, line)) return {};
  // The label ends at the line end; what editors leave around it is no part of it.
  return utf8ToAnsi(std::string(trimmed(line, " \t\r\n")));
}

DriveType NativeDrives::typeOf(char letter) const {
  if (shareOf(letter)) return DriveType::Remote;
  if (const auto name = registeredType(letter)) {
    const DriveType type = typeFromName(*name);
    if (type != DriveType::Unknown) return type;
  }
  return defaultType(letter);
}

Result<DriveInfo> NativeDrives::drive(char letter) const {
  const char upper = static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
  const DriveState state = m_resolver.driveState(upper);
  if (upper < 'A' || upper > 'Z' || state == DriveState::Missing) {
    return Result<DriveInfo>::failure(ERROR_INVALID_DRIVE, std::string(1, letter) + ":");
  }
  DriveInfo info;
  info.letter = upper;
  info.type = typeOf(upper);
  info.ready = state == DriveState::Ready;
  if (info.ready) info.label = labelOf(upper);
  info.remotePath = shareOf(upper).value_or("");
  return info;
}

std::vector<DriveInfo> NativeDrives::drives() const {
  std::vector<DriveInfo> out;
  for (char letter = 'A'; letter <= 'Z'; ++letter) {
    auto info = drive(letter);
    if (info) out.push_back(std::move(info).value());
  }
  return out;
}

}  // namespace platform
