#include "registry_values.h"

#include <algorithm>

namespace platform {
namespace {

// An open key that closes itself.
class OpenKey {
 public:
  OpenKey(Registry& registry, HKEY root, const std::string& key, REGSAM access)
      : m_registry(registry),
        m_status(
            registry.RegOpenKeyExA(root, key.c_str(), 0, access, &m_key)) {}
  OpenKey(Registry& registry, HKEY root, const std::string& key)
      : m_registry(registry),
        m_status(
            registry.RegCreateKeyExA(root, key.c_str(), KEY_ALL_ACCESS, &m_key, nullptr)) {}
  ~OpenKey() {
    // Closing writes nothing back: the registry saves changes on its own.
    if (ok()) ignoreFailure(m_registry.RegCloseKey(m_key), "closing a key");
  }
  OpenKey(const OpenKey&) = delete;
  OpenKey& operator=(const OpenKey&) = delete;

  bool ok() const { return m_status.ok(); }
  Status status() const { return m_status; }
  HKEY handle() const { return m_key; }

 private:
  Registry& m_registry;
  HKEY m_key = 0;
  Status m_status;
};

std::optional<std::string> readValue(Registry& registry, HKEY root, const std::string& key,
                                     const std::string& name, DWORD& type) {
  OpenKey open(registry, root, key, KEY_QUERY_VALUE);
  if (!open.ok()) return std::nullopt;
  DWORD size = 0;
  if (registry.RegQueryValueExA(open.handle(), name.c_str(), &type, nullptr, &size) !=
      ERROR_SUCCESS) {
    return std::nullopt;
  }
  std::string data(size, '\0');
  if (registry.RegQueryValueExA(open.handle(), name.c_str(), &type,
                                reinterpret_cast<BYTE*>(data.data()), &size) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  data.resize(size);
  return data;
}

Status writeValue(Registry& registry, HKEY root, const std::string& key, const std::string& name,
                  DWORD type, const std::string& data) {
  OpenKey open(registry, root, key);
  if (!open.ok()) return open.status();
  return registry.RegSetValueExA(open.handle(), name.c_str(), type,
                                                     reinterpret_cast<const BYTE*>(data.data()),
                                                     static_cast<DWORD>(data.size()));
}

}  // namespace

std::optional<std::string> readStringValue(Registry& registry, HKEY root, const std::string& key,
                                           const std::string& name) {
  DWORD type = REG_NONE;
  auto data = readValue(registry, root, key, name, type);
  if (!data || (type != REG_SZ && type != REG_EXPAND_SZ)) return std::nullopt;
  data->erase(std::min(data->find('\0'), data->size()));
  return data;
}

std::optional<DWORD> readDwordValue(Registry& registry, HKEY root, const std::string& key,
                                    const std::string& name) {
  DWORD type = REG_NONE;
  const auto data = readValue(registry, root, key, name, type);
  if (!data || type != REG_DWORD || data->size() != 4) return std::nullopt;
  DWORD value = 0;
  for (int i = 3; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>((*data)[i]);
  return value;
}

Status writeStringValue(Registry& registry, HKEY root, const std::string& key,
                        const std::string& name, const std::string& value) {
  return writeValue(registry, root, key, name, REG_SZ, value + '\0');
}

Status writeDwordValue(Registry& registry, HKEY root, const std::string& key,
                       const std::string& name, DWORD value) {
  std::string bytes(4, '\0');
  for (int i = 0; i < 4; ++i) bytes[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
  return writeValue(registry, root, key, name, REG_DWORD, bytes);
}

bool registryKeyExists(Registry& registry, HKEY root, const std::string& key) {
  return OpenKey(registry, root, key, KEY_QUERY_VALUE).ok();
}

std::vector<std::string> subKeyNames(Registry& registry, HKEY root, const std::string& key) {
  std::vector<std::string> names;
  OpenKey open(registry, root, key, KEY_ENUMERATE_SUB_KEYS);
  if (!open.ok()) return names;
  // Key names are at most 255 characters.
  char name[256];
  for (DWORD index = 0;; ++index) {
    DWORD length = sizeof name;
    if (registry.RegEnumKeyExA(open.handle(), index, name, &length) != ERROR_SUCCESS) break;
    names.emplace_back(name, length);
  }
  return names;
}

}  // namespace platform
