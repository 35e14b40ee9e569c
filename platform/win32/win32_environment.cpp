#include "win32_environment.h"

#include <cstring>
#include <vector>

#include "win32_status.h"
#include "windows_api.h"

namespace platform {

std::optional<std::string> Win32Environment::variable(const std::string& name) {
  std::vector<char> buffer(256);
  for (;;) {
    ::SetLastError(NO_ERROR);
    const ::DWORD length =
        ::GetEnvironmentVariableA(name.c_str(), buffer.data(), static_cast<::DWORD>(buffer.size()));
    if (length == 0) {
      // An empty variable and a missing one both give 0; only the missing one sets an error.
      if (::GetLastError() == ERROR_ENVVAR_NOT_FOUND) return std::nullopt;
      return std::string();
    }
    if (length < buffer.size()) return std::string(buffer.data(), length);
    buffer.resize(length + 1);
  }
}

std::map<std::string, std::string> Win32Environment::variables() {
  std::map<std::string, std::string> result;
  char* block = ::GetEnvironmentStrings();
  if (block == nullptr) return result;
  for (const char* entry = block; *entry != '\0'; entry += std::strlen(entry) + 1) {
    const char* equals = std::strchr(entry + 1, '=');
    // Entries such as "=C:=C:\Data" keep each drive's current directory: no variables.
    if (entry[0] == '=' || equals == nullptr) continue;
    result.emplace(std::string(entry, equals), std::string(equals + 1));
  }
  ::FreeEnvironmentStringsA(block);
  return result;
}

Result<std::string> Win32Environment::userName() {
  char name[257];
  ::DWORD length = sizeof name;
  if (!::GetUserNameA(name, &length)) return Result<std::string>::failure(lastWindowsError());
  // The length counts the NUL.
  return std::string(name, length > 0 ? length - 1 : 0);
}

}  // namespace platform
