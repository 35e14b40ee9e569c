// Network connections of the native machine. A drive letter mapped to \\server\share is the link
// dosdevices/<letter>: -> unc/<server>/<share>, with the type "network" in
// HKLM\Software\Wine\Drives as Wine keeps it; a remembered one is HKCU\Network\<LETTER> as
// Windows NT and 2000 keep it. A server exists when its folder dosdevices/unc/<server> does,
// a share when its folder below the server's does; every server has the IPC$ share.
#pragma once

#include <filesystem>
#include <string>

#include "path_resolver.h"
#include "platform/network.h"
#include "platform/registry.h"

namespace platform {

class NativeNetwork final : public Network {
 public:
  // `registry` must outlive this object.
  NativeNetwork(std::filesystem::path machineRoot, Registry& registry);

  // Credentials are taken as given: the machine checks none. A connection without a letter
  // leaves nothing behind, as it would end with the session.
  Status WNetAddConnection2A(const NETRESOURCEA* netResource, const char* password,
                             const char* userName, DWORD flags) override;

 private:
  // What a NETRESOURCEA's local name names.
  enum class LocalName { None, Drive, Port, Bad };

  // "F:" (either case) is a drive, setting `letter`; "LPT1" and "COM1" (with or without a colon)
  // are ports.
  static LocalName classify(const char* localName, char& letter);
  [[nodiscard]] Status checkRequest(const NETRESOURCEA& resource, LocalName local, char letter,
                                    DWORD flags);
  Result<std::filesystem::path> findShare(const std::string& remoteName, LocalName local);
  [[nodiscard]] Status connectDrive(char letter, const std::filesystem::path& share,
                                    const std::string& remoteName, const char* userName,
                                    DWORD flags);
  [[nodiscard]] Status mapDrive(char letter, const std::filesystem::path& share);
  [[nodiscard]] Status remember(char letter, const std::string& remoteName, const char* userName);

  PathResolver m_resolver;
  Registry& m_registry;
};

}  // namespace platform
