// Environment variables and the user of the native machine, read from its registry where a
// Wine prefix keeps them: the system's variables (HKLM ...\Session Manager\Environment), the
// user's (HKCU\Environment) and the logon's (HKCU\Volatile Environment), later ones winning.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/environment.h"
#include "platform/registry.h"

namespace platform {

class NativeEnvironment final : public Environment {
 public:
  // Reads the registry on every call, so changes show at once. It must outlive this object.
  explicit NativeEnvironment(Registry& registry);

  std::optional<std::string> variable(const std::string& name) override;
  std::map<std::string, std::string> variables() override;
  // USERNAME as the logon sets it (HKCU\Volatile Environment); ERROR_FILE_NOT_FOUND when the
  // machine names no user.
  Result<std::string> userName() override;

 private:
  struct NoCaseLess {
    bool operator()(const std::string& a, const std::string& b) const;
  };
  using Variables = std::map<std::string, std::string, NoCaseLess>;
  struct Value {
    std::string name;
    DWORD type = REG_NONE;
    std::string text;
  };

  Variables load();
  std::optional<std::string> readText(HKEY root, const char* key, const char* name);
  std::vector<Value> readValues(HKEY root, const char* key);
  void addKey(HKEY root, const char* key, Variables& into);
  // Replaces each %NAME% whose NAME is set; other text stays as it is.
  static std::string expand(const std::string& text, const Variables& variables);

  Registry& m_registry;
};

}  // namespace platform
