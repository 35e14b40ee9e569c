#include "server_registration.h"

#include <optional>
#include <vector>

#include "archive_paths.h"

namespace parcelon {
namespace {

using platform::HKEY_CLASSES_ROOT;

constexpr const char* kTypeLibraryDescription = "Parcelon ActiveX Control module";
constexpr const char* kTypeName = "Parcelon Control";
constexpr const char* kAutomationProxy = "{00020420-0000-0000-C000-000000000046}";
// Invisible at run time, inside-out, activate when visible, cannot link inside, recompose on
// resize, set client site first (the OLEMISC flags).
constexpr const char* kMiscStatus = "132497";

struct RegistryValue {
  std::string key;
  std::string name;                 // empty: the key's default value
  std::optional<std::string> data;  // none: the key alone, without a value
};

bool writeValue(platform::Registry& registry, const RegistryValue& value) {
  platform::HKEY key = 0;
  if (registry.RegCreateKeyExA(HKEY_CLASSES_ROOT, value.key.c_str(), platform::KEY_ALL_ACCESS, &key,
                               nullptr) != platform::ERROR_SUCCESS) {
    return false;
  }
  bool ok = true;
  if (value.data) {
    const auto* bytes = reinterpret_cast<const platform::BYTE*>(value.data->c_str());
    ok = registry.RegSetValueExA(
             key, value.name.empty() ? nullptr : value.name.c_str(), platform::REG_SZ, bytes,
             static_cast<platform::DWORD>(value.data->size() + 1)) == platform::ERROR_SUCCESS;
  }
  ok = registry.RegFlushKey(key) == platform::ERROR_SUCCESS && ok;
  return registry.RegCloseKey(key) == platform::ERROR_SUCCESS && ok;
}

bool writeAll(platform::Registry& registry, const std::vector<RegistryValue>& values) {
  for (const auto& value : values) {
    if (!writeValue(registry, value)) return false;
  }
  return true;
}

bool deleteAll(platform::Registry& registry, const std::vector<std::string>& keys) {
  bool ok = true;
  for (const auto& key : keys) {
    const auto status = registry.RegDeleteTreeA(HKEY_CLASSES_ROOT, key.c_str());
    ok = ok && (status.ok() || status == platform::ERROR_FILE_NOT_FOUND);
  }
  return registry.RegFlushKey(HKEY_CLASSES_ROOT) == platform::ERROR_SUCCESS && ok;
}

std::vector<RegistryValue> interfaceValues(const std::string& iid, const std::string& name) {
  const std::string key = "Interface\\" + iid;
  return {
      {key, "", name},
      {key + "\\ProxyStubClsid", "", kAutomationProxy},
      {key + "\\ProxyStubClsid32", "", kAutomationProxy},
      {key + "\\TypeLib", "", PARCELON_TYPELIB_TEXT},
      {key + "\\TypeLib", "Version", "1.0"},
  };
}

std::vector<RegistryValue> typeLibraryValues(const std::string& libraryPath) {
  const std::string key = std::string("TypeLib\\") + PARCELON_TYPELIB_TEXT + "\\1.0";
  std::vector<RegistryValue> values = {
      {key, "", kTypeLibraryDescription},
      {key + "\\0\\win32", "", libraryPath},
      {key + "\\FLAGS", "", "0"},
      {key + "\\HELPDIR", "", folderOf(libraryPath)},
  };
  for (auto& value : interfaceValues(PARCELON_DISPATCH_IID_TEXT, "_DParcelon")) {
    values.push_back(std::move(value));
  }
  for (auto& value : interfaceValues(PARCELON_EVENTS_IID_TEXT, "_DParcelonEvents")) {
    values.push_back(std::move(value));
  }
  return values;
}

std::vector<RegistryValue> classValues(const std::string& libraryPath) {
  const std::string key = std::string("CLSID\\") + PARCELON_CLSID_TEXT;
  return {
      {PARCELON_PROGID, "", kTypeName},
      {std::string(PARCELON_PROGID) + "\\CLSID", "", PARCELON_CLSID_TEXT},
      {key, "", kTypeName},
      {key + "\\InprocServer32", "", libraryPath},
      {key + "\\InprocServer32", "ThreadingModel", "Apartment"},
      {key + "\\ProgID", "", PARCELON_PROGID},
      {key + "\\Control", "", std::nullopt},
      {key + "\\MiscStatus", "", "0"},
      {key + "\\MiscStatus\\1", "", kMiscStatus},
      {key + "\\ToolboxBitmap32", "", libraryPath + ", 1"},
      {key + "\\TypeLib", "", PARCELON_TYPELIB_TEXT},
      {key + "\\Version", "", "1.0"},
  };
}

}  // namespace

ParcelonHresult registerServer(platform::Registry& registry, const std::string& libraryPath) {
  if (!writeAll(registry, typeLibraryValues(libraryPath))) return PARCELON_SELFREG_E_TYPELIB;
  if (!writeAll(registry, classValues(libraryPath))) return PARCELON_SELFREG_E_CLASS;
  return PARCELON_S_OK;
}

ParcelonHresult unregisterServer(platform::Registry& registry) {
  const bool typeLibrary =
      deleteAll(registry, {std::string("TypeLib\\") + PARCELON_TYPELIB_TEXT,
                           std::string("Interface\\") + PARCELON_DISPATCH_IID_TEXT,
                           std::string("Interface\\") + PARCELON_EVENTS_IID_TEXT});
  const bool controlClass = deleteAll(
      registry, {std::string("CLSID\\") + PARCELON_CLSID_TEXT, std::string(PARCELON_PROGID)});
  if (!typeLibrary) return PARCELON_SELFREG_E_TYPELIB;
  if (!controlClass) return PARCELON_SELFREG_E_CLASS;
  return PARCELON_S_OK;
}

}  // namespace parcelon
