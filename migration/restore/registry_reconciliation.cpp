#include "restore/registry_reconciliation.h"

#include <optional>
#include <string_view>
#include <utility>

#include "platform/text_encoding.h"

namespace migration {

namespace {

struct RootName {
  std::string_view name;
  platform::HKEY key;
};

// The roots the registry editor knows, by their full names.
constexpr RootName kRoots[] = {
    {"HKEY_LOCAL_MACHINE", platform::HKEY_LOCAL_MACHINE},
    {"HKEY_CURRENT_USER", platform::HKEY_CURRENT_USER},
    {"HKEY_CLASSES_ROOT", platform::HKEY_CLASSES_ROOT},
    {"HKEY_USERS", platform::HKEY_USERS},
    {"HKEY_CURRENT_CONFIG", platform::HKEY_CURRENT_CONFIG},
    {"HKEY_DYN_DATA", platform::HKEY_DYN_DATA},
};

std::optional<std::pair<platform::HKEY, std::string>> splitRoot(const std::string& key) {
  const std::size_t backslash = key.find('\\');
  const std::string_view root = std::string_view(key).substr(0, backslash);
  for (const RootName& known : kRoots) {
    if (!platform::ansiEqualNoCase(root, known.name)) continue;
    return std::make_pair(
        known.key, backslash == std::string::npos ? std::string() : key.substr(backslash + 1));
  }
  return std::nullopt;
}

std::string itemName(const ExportedValue& value) {
  return value.key + (value.name.empty() ? " @" : " \"" + value.name + "\"");
}

std::string shape(platform::DWORD type, const std::string& data) {
  return "type " + std::to_string(type) + ", " + std::to_string(data.size()) + " bytes";
}

// The key of the values being looked up, opened once for a run of values under it.
class KeyReader {
 public:
  explicit KeyReader(platform::Registry& registry) : m_registry(registry) {}
  ~KeyReader() { close(); }
  KeyReader(const KeyReader&) = delete;
  KeyReader& operator=(const KeyReader&) = delete;

  // False when the key cannot be opened (or its root is unknown).
  bool open(const std::string& key) {
    if (m_open && platform::ansiEqualNoCase(key, m_name)) return m_key != 0;
    close();
    m_open = true;
    m_name = key;
    const auto split = splitRoot(key);
    if (!split) return false;
    platform::HKEY opened = 0;
    if (m_registry
            .RegOpenKeyExA(split->first, split->second.c_str(), 0, platform::KEY_QUERY_VALUE,
                           &opened)
            .failed()) {
      return false;
    }
    m_key = opened;
    return true;
  }

  // False when the key has no such value.
  bool read(const std::string& name, platform::DWORD& type, std::string& data) {
    platform::DWORD size = 0;
    if (m_registry.RegQueryValueExA(m_key, name.c_str(), &type, nullptr, &size).failed()) {
      return false;
    }
    data.assign(size, '\0');
    if (size == 0) return true;
    return m_registry
        .RegQueryValueExA(m_key, name.c_str(), &type,
                          reinterpret_cast<platform::BYTE*>(data.data()), &size)
        .ok();
  }

 private:
  void close() {
    // Only read from: closing it cannot lose anything.
    if (m_key != 0)
      platform::ignoreFailure(m_registry.RegCloseKey(m_key), "closing a key read back");
    m_key = 0;
    m_open = false;
  }

  platform::Registry& m_registry;
  std::string m_name;
  bool m_open = false;
  platform::HKEY m_key = 0;
};

}  // namespace

std::vector<RestoreReport::Item> ReconcileExport(platform::Registry& registry,
                                                 const std::vector<ExportedValue>& values) {
  std::vector<RestoreReport::Item> items;
  items.reserve(values.size());
  KeyReader key(registry);
  for (const ExportedValue& value : values) {
    RestoreReport::Item item{itemName(value), Arrival::Missing, {}};
    platform::DWORD type = 0;
    std::string data;
    if (!key.open(value.key)) {
      item.detail = "no such key";
    } else {
      const bool present = key.read(value.name, type, data);
      item.arrival = JudgeValue(value.type, value.data, present, type, data);
      if (item.arrival == Arrival::Differs) {
        item.detail = "exported " + shape(value.type, value.data) + ", now " + shape(type, data);
      }
    }
    items.push_back(std::move(item));
  }
  return items;
}

}  // namespace migration
