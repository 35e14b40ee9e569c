#include "context/mdl_registry.h"

#include <cstring>

namespace migration {

platform::Status QueryValueEx(platform::Registry& registry, platform::HKEY key,
                            const std::string& valueName, RegValue& value) {
  value = RegValue();
  platform::DWORD type = 0;
  platform::DWORD size = 0;
  platform::Status status = registry.RegQueryValueExA(key, valueName.c_str(), &type, nullptr, &size);
  if (status.failed()) return status;

  if (type == platform::REG_SZ) {
    std::string text(size, '\0');
    status = registry.RegQueryValueExA(key, valueName.c_str(), &type,
                                       reinterpret_cast<platform::BYTE*>(text.data()), &size);
    if (status.ok()) value = RegValue(text.substr(0, size));
    return status;
  }
  if (type == platform::REG_DWORD) {
    std::int32_t number = 0;
    platform::DWORD numberSize = sizeof number;
    status = registry.RegQueryValueExA(key, valueName.c_str(), &type,
                                       reinterpret_cast<platform::BYTE*>(&number), &numberSize);
    if (status.ok()) value = RegValue(number);
    return status;
  }
  return kUnsupportedType;
}

RegValue QueryKeyValue(platform::Registry& registry, platform::HKEY root,
                       const std::string& keyPath, const std::string& valueName) {
  platform::HKEY key = 0;
  if (registry.RegOpenKeyExA(root, keyPath.c_str(), 0, kRegistryAccess, &key).failed()) return {};
  RegValue value;
  const platform::Status status = QueryValueEx(registry, key, valueName, value);
  if (status.failed()) {
    // Named, so that the run log says which value was read as empty.
    platform::ignoreFailure(status, "the registry value \"" + valueName + "\" of " + keyPath +
                                        " read as empty");
  }
  platform::ignoreFailure(registry.RegCloseKey(key), "a key opened for reading");
  return value;
}

platform::Status SetValueEx(platform::Registry& registry, platform::HKEY key,
                          const std::string& valueName, platform::DWORD valueType,
                          const RegValue& value) {
  if (valueType == platform::REG_SZ) {
    const std::string text = value.toText();
    // The text is handed over counted without its NUL. Windows then counts the NUL that follows
    // it too (as RegSetValueExA does when the byte after the data is one), so that is what every
    // backend gets, and the value reads back as Windows would have stored it.
    const bool countsFollowingNul = !text.empty() && text.back() != '\0';
    return registry.RegSetValueExA(
        key, valueName.c_str(), platform::REG_SZ,
        reinterpret_cast<const platform::BYTE*>(text.c_str()),
        static_cast<platform::DWORD>(text.size() + (countsFollowingNul ? 1 : 0)));
  }
  if (valueType == platform::REG_DWORD) {
    std::int32_t number = 0;
    if (value.isInteger()) {
      number = value.integer();
    } else if (!value.isEmpty()) {
      const auto converted = textToInteger(value.text());
      // A text that is no number writes nothing, as the failed conversion would.
      if (!converted) return platform::ERROR_INVALID_PARAMETER;
      number = *converted;
    }
    platform::BYTE bytes[sizeof number];
    std::memcpy(bytes, &number, sizeof number);
    return registry.RegSetValueExA(key, valueName.c_str(), platform::REG_DWORD, bytes,
                                   sizeof bytes);
  }
  return platform::ERROR_SUCCESS;
}

void SetKeyValue(platform::Registry& registry, platform::HKEY root, const std::string& keyPath,
                 const std::string& valueName, const RegValue& value, platform::DWORD valueType) {
  platform::HKEY key = 0;
  if (registry.RegOpenKeyExA(root, keyPath.c_str(), 0, kRegistryAccess, &key).failed()) return;
  platform::ignoreFailure(SetValueEx(registry, key, valueName, valueType, value),
                          "a registry value written");
  platform::ignoreFailure(registry.RegCloseKey(key), "closing a key written to");
}

}  // namespace migration
