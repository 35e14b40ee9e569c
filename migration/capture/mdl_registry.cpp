#include "capture/mdl_registry.h"

#include <cstring>

namespace migration {

platform::LONG QueryValueEx(platform::Registry& registry, platform::HKEY key,
                            const std::string& valueName, RegValue& value) {
  value = RegValue();
  platform::DWORD type = 0;
  platform::DWORD size = 0;
  platform::LONG status = registry.RegQueryValueExA(key, valueName.c_str(), &type, nullptr, &size);
  if (status != 0) return status;

  if (type == platform::REG_SZ) {
    std::string text(size, '\0');
    status = registry.RegQueryValueExA(key, valueName.c_str(), &type,
                                       reinterpret_cast<platform::BYTE*>(text.data()), &size);
    if (status == 0) value = RegValue(text.substr(0, size));
    return status;
  }
  if (type == platform::REG_DWORD) {
    std::int32_t number = 0;
    platform::DWORD numberSize = sizeof number;
    status = registry.RegQueryValueExA(key, valueName.c_str(), &type,
                                       reinterpret_cast<platform::BYTE*>(&number), &numberSize);
    if (status == 0) value = RegValue(number);
    return status;
  }
  return -1;
}

RegValue QueryKeyValue(platform::Registry& registry, platform::HKEY root,
                       const std::string& keyPath, const std::string& valueName) {
  platform::HKEY key = 0;
  if (registry.RegOpenKeyExA(root, keyPath.c_str(), 0, kRegistryAccess, &key) != 0) return {};
  RegValue value;
  // NOTE: the status only says why the value is empty; callers treat empty as "not set".
  platform::ignoreFailure(
      static_cast<platform::Status>(QueryValueEx(registry, key, valueName, value)));
  platform::ignoreFailure(static_cast<platform::Status>(registry.RegCloseKey(key)));
  return value;
}

platform::LONG SetValueEx(platform::Registry& registry, platform::HKEY key,
                          const std::string& valueName, platform::DWORD valueType,
                          const RegValue& value) {
  if (valueType == platform::REG_SZ) {
    const std::string text = value.toText();
    return registry.RegSetValueExA(key, valueName.c_str(), platform::REG_SZ,
                                   reinterpret_cast<const platform::BYTE*>(text.data()),
                                   static_cast<platform::DWORD>(text.size()));
  }
  if (valueType == platform::REG_DWORD) {
    std::int32_t number = 0;
    if (value.isInteger()) {
      number = value.integer();
    } else if (!value.isEmpty()) {
      const auto converted = textToInteger(value.text());
      // A text that is no number writes nothing, as the failed conversion would.
      if (!converted) return static_cast<platform::LONG>(platform::ERROR_INVALID_PARAMETER);
      number = *converted;
    }
    platform::BYTE bytes[sizeof number];
    std::memcpy(bytes, &number, sizeof number);
    return registry.RegSetValueExA(key, valueName.c_str(), platform::REG_DWORD, bytes,
                                   sizeof bytes);
  }
  return 0;
}

void SetKeyValue(platform::Registry& registry, platform::HKEY root, const std::string& keyPath,
                 const std::string& valueName, const RegValue& value, platform::DWORD valueType) {
  platform::HKEY key = 0;
  if (registry.RegOpenKeyExA(root, keyPath.c_str(), 0, kRegistryAccess, &key) != 0) return;
  // Nothing reports a failed write to the user: the stored defaults are a convenience.
  platform::ignoreFailure(
      static_cast<platform::Status>(SetValueEx(registry, key, valueName, valueType, value)));
  platform::ignoreFailure(static_cast<platform::Status>(registry.RegCloseKey(key)));
}

}  // namespace migration
