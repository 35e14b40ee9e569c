#include "native_environment.h"

#include <vector>

#include "platform/text_encoding.h"

namespace platform {
namespace {

constexpr const char* kSystemVariables =
    "System\\CurrentControlSet\\Control\\Session Manager\\Environment";
constexpr const char* kUserVariables = "Environment";
constexpr const char* kLogonVariables = "Volatile Environment";
constexpr const char* kWindowsVersion = "Software\\Microsoft\\Windows NT\\CurrentVersion";
constexpr DWORD kMaxValueName = 16384;  // Windows' limit, with the NUL

// Registry text ends at its first NUL, whether or not the data holds one.
std::string textOf(const std::vector<BYTE>& data) {
  std::string text(data.begin(), data.end());
  const std::size_t nul = text.find('\0');
  if (nul != std::string::npos) text.erase(nul);
  return text;
}

bool isText(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ; }

}  // namespace

bool NativeEnvironment::NoCaseLess::operator()(const std::string& a, const std::string& b) const {
  return ansiLessNoCase(a, b);
}

NativeEnvironment::NativeEnvironment(Registry& registry) : m_registry(registry) {}

std::vector<NativeEnvironment::Value> NativeEnvironment::readValues(HKEY root, const char* key) {
  std::vector<Value> values;
  HKEY handle = 0;
  if (m_registry.RegOpenKeyExA(root, key, 0, KEY_READ, &handle) != ERROR_SUCCESS) return values;
  std::vector<char> name(kMaxValueName);
  for (DWORD index = 0;; ++index) {
    DWORD nameLength = kMaxValueName;
    DWORD type = REG_NONE;
    DWORD size = 0;
    const Status status =
        m_registry.RegEnumValueA(handle, index, name.data(), &nameLength, &type, nullptr, &size);
    if (status == ERROR_NO_MORE_ITEMS) break;
    if (status.failed() || !isText(type)) continue;
    std::vector<BYTE> data(size);
    const std::string valueName(name.data(), nameLength);
    if (m_registry.RegQueryValueExA(handle, valueName.c_str(), &type, data.data(), &size) ==
        ERROR_SUCCESS) {
      data.resize(size);
      values.push_back({valueName, type, textOf(data)});
    }
  }
  ignoreFailure(m_registry.RegCloseKey(handle), "opened for reading: nothing to write back");
  return values;
}

std::optional<std::string> NativeEnvironment::readText(HKEY root, const char* key,
                                                       const char* name) {
  for (const Value& value : readValues(root, key)) {
    if (ansiEqualNoCase(value.name, name)) return value.text;
  }
  return std::nullopt;
}

std::string NativeEnvironment::expand(const std::string& text, const Variables& variables) {
  std::string out;
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::size_t open = text.find('%', pos);
    const std::size_t close = open == std::string::npos ? open : text.find('%', open + 1);
    if (close == std::string::npos) break;
    out.append(text, pos, open - pos);
    const auto found = variables.find(text.substr(open + 1, close - open - 1));
    if (found != variables.end() && close > open + 1) {
      out += found->second;
      pos = close + 1;
    } else {
      out += '%';  // not a variable: the closing % may open the next reference
      pos = open + 1;
    }
  }
  out.append(text, pos, std::string::npos);
  return out;
}

// Plain values first, then the expandable ones, which may refer to the plain ones: the order
// Windows builds a logon's environment in.
void NativeEnvironment::addKey(HKEY root, const char* key, Variables& into) {
  const std::vector<Value> values = readValues(root, key);
  for (const Value& value : values) {
    if (value.type == REG_SZ) into[value.name] = value.text;
  }
  for (const Value& value : values) {
    if (value.type == REG_EXPAND_SZ) into[value.name] = expand(value.text, into);
  }
}

NativeEnvironment::Variables NativeEnvironment::load() {
  Variables variables;
  if (auto root = readText(HKEY_LOCAL_MACHINE, kWindowsVersion, "SystemRoot")) {
    variables["SystemRoot"] = *root;
  }
  addKey(HKEY_LOCAL_MACHINE, kSystemVariables, variables);
  // NOTE: Windows sets the profile's variables (USERPROFILE...) before the user's own, which
  // may refer to them; a Wine prefix keeps those in the logon's key, so it is read twice.
  addKey(HKEY_CURRENT_USER, kLogonVariables, variables);
  addKey(HKEY_CURRENT_USER, kUserVariables, variables);
  addKey(HKEY_CURRENT_USER, kLogonVariables, variables);
  return variables;
}

std::optional<std::string> NativeEnvironment::variable(const std::string& name) {
  const Variables variables = load();
  const auto found = variables.find(name);
  if (found == variables.end()) return std::nullopt;
  return found->second;
}

std::map<std::string, std::string> NativeEnvironment::variables() {
  const Variables variables = load();
  return {variables.begin(), variables.end()};
}

Result<std::string> NativeEnvironment::userName() {
  auto name = variable("USERNAME");
  if (!name || name->empty()) return Result<std::string>::failure(ERROR_FILE_NOT_FOUND, "USERNAME");
  return *name;
}

}  // namespace platform
