#include "native_network.h"

#include <cctype>
#include <string>
#include <system_error>
#include <utility>

#include "host_status.h"
#include "platform/text_encoding.h"
#include "registry_values.h"
#include "unc_folders.h"
#include "unc_name.h"

namespace platform {
namespace {

namespace fs = std::filesystem;

constexpr const char* kDrivesKey = "Software\\Wine\\Drives";
constexpr const char* kProviderName = "Microsoft Windows Network";
constexpr DWORD kLanmanProviderType = 0x20000;
constexpr DWORD kDriveConnection = 1;
// Every Windows server offers it for named pipes; it holds no files.
constexpr const char* kIpcShare = "IPC$";

std::string driveTypeName(char letter) {
  return {static_cast<char>(std::tolower(static_cast<unsigned char>(letter))), ':'};
}

}  // namespace

NativeNetwork::NativeNetwork(fs::path machineRoot, Registry& registry)
    : m_resolver(std::move(machineRoot)), m_registry(registry) {}

NativeNetwork::LocalName NativeNetwork::classify(const char* localName, char& letter) {
  const std::string name = localName == nullptr ? std::string() : ansiToUpper(localName);
  if (name.empty()) return LocalName::None;
  if (name.size() == 2 && name[1] == ':' && name[0] >= 'A' && name[0] <= 'Z') {
    letter = name[0];
    return LocalName::Drive;
  }
  std::string port = name;
  if (port.back() == ':') port.pop_back();
  const bool isPort = port.size() == 4 &&
                      (port.rfind("LPT", 0) == 0 || port.rfind("COM", 0) == 0) && port[3] >= '1' &&
                      port[3] <= '9';
  return isPort ? LocalName::Port : LocalName::Bad;
}

Status NativeNetwork::WNetAddConnection2A(const NETRESOURCEA* netResource, const char*,
                                          const char* userName, DWORD flags) {
  if (netResource == nullptr || netResource->lpRemoteName == nullptr) {
    return ERROR_INVALID_PARAMETER;
  }
  char letter = 0;
  const LocalName local = classify(netResource->lpLocalName, letter);
  const Status request = checkRequest(*netResource, local, letter, flags);
  if (request.failed()) return request;
  const auto share = findShare(netResource->lpRemoteName, local);
  if (!share) return share.status();
  if (local == LocalName::None) return ERROR_SUCCESS;  // nothing lasts beyond the session
  return connectDrive(letter, *share, netResource->lpRemoteName, userName, flags);
}

// What can be refused before the network is asked: the local name, the type, the provider.
Status NativeNetwork::checkRequest(const NETRESOURCEA& resource, LocalName local, char letter,
                                   DWORD flags) {
  if (local == LocalName::Bad) return ERROR_BAD_DEVICE;
  if (resource.dwType > RESOURCETYPE_PRINT) return ERROR_INVALID_PARAMETER;
  if (resource.dwType == RESOURCETYPE_PRINT) {
    // FIXME: printer ports are not redirected on the native machine.
    return local == LocalName::Drive ? ERROR_BAD_DEV_TYPE : ERROR_NOT_SUPPORTED;
  }
  if (local == LocalName::Port) return ERROR_BAD_DEV_TYPE;
  const char* provider = resource.lpProvider;
  if (provider != nullptr && *provider != '\0' && !ansiEqualNoCase(provider, kProviderName)) {
    return ERROR_BAD_PROVIDER;
  }
  if (local != LocalName::Drive) return ERROR_SUCCESS;
  if (m_resolver.driveState(letter) != DriveState::Missing) return ERROR_ALREADY_ASSIGNED;
  const bool remembered =
      registryKeyExists(m_registry, HKEY_CURRENT_USER, std::string("Network\\") + letter);
  if ((flags & CONNECT_UPDATE_PROFILE) != 0 && remembered) return ERROR_DEVICE_ALREADY_REMEMBERED;
  return ERROR_SUCCESS;
}

// The share's folder; an empty path for IPC$, which holds no files.
Result<fs::path> NativeNetwork::findShare(const std::string& remoteName, LocalName local) {
  const auto name = parseUncName(remoteName);
  if (!name) return Result<fs::path>::failure(ERROR_BAD_NET_NAME, remoteName);
  const fs::path server = serverFolder(m_resolver, name->server);
  if (server.empty()) return Result<fs::path>::failure(ERROR_BAD_NETPATH, remoteName);
  if (ansiEqualNoCase(name->share, kIpcShare)) {
    if (local == LocalName::Drive) return Result<fs::path>::failure(ERROR_BAD_DEV_TYPE, remoteName);
    return fs::path();
  }
  const fs::path share = shareFolder(server, name->share);
  if (share.empty()) return Result<fs::path>::failure(ERROR_BAD_NET_NAME, remoteName);
  return share;
}

Status NativeNetwork::connectDrive(char letter, const fs::path& share,
                                   const std::string& remoteName, const char* userName,
                                   DWORD flags) {
  const Status mapped = mapDrive(letter, share);
  if (mapped.failed() || (flags & CONNECT_UPDATE_PROFILE) == 0) return mapped;
  const Status remembered = remember(letter, remoteName, userName);
  if (remembered.failed()) {
    // Half a mapping would be reported as a failure and yet stay: take it back.
    std::error_code ignored;
    fs::remove(m_resolver.driveLink(letter), ignored);
    const std::string key = std::string("Network\\") + letter;
    ignoreFailure(m_registry.RegDeleteTreeA(HKEY_CURRENT_USER, key.c_str()),
                  "taking back a remembered mapping");
  }
  return remembered;
}

Status NativeNetwork::mapDrive(char letter, const fs::path& share) {
  const fs::path link = m_resolver.driveLink(letter);
  // Relative, as Wine links its drives, so that the machine root can move.
  const fs::path target = share.lexically_relative(m_resolver.dosdevices());
  std::error_code error;
  fs::create_symlink(target, link, error);
  if (error) return statusFromErrno(error.value());
  const Status typed = writeStringValue(m_registry, HKEY_LOCAL_MACHINE, kDrivesKey,
                                        driveTypeName(letter), "network");
  if (typed.failed()) fs::remove(link, error);
  return typed;
}

Status NativeNetwork::remember(char letter, const std::string& remoteName, const char* userName) {
  const std::string key = std::string("Network\\") + letter;
  const std::pair<const char*, std::string> texts[] = {
      {"RemotePath", remoteName},
      {"UserName", userName == nullptr ? std::string() : std::string(userName)},
      {"ProviderName", kProviderName},
  };
  for (const auto& [name, text] : texts) {
    const Status status = writeStringValue(m_registry, HKEY_CURRENT_USER, key, name, text);
    if (status.failed()) return status;
  }
  const Status type =
      writeDwordValue(m_registry, HKEY_CURRENT_USER, key, "ProviderType", kLanmanProviderType);
  if (type.failed()) return type;
  return writeDwordValue(m_registry, HKEY_CURRENT_USER, key, "ConnectionType", kDriveConnection);
}

}  // namespace platform
