#include "registry_hive.h"

#include <algorithm>
#include <iterator>

#include "registry_names.h"

namespace platform {
namespace {

void markDeleted(RegistryKey& key) {
  key.deleted = true;
  key.parent = nullptr;
  for (const auto& subkey : key.subkeys) markDeleted(*subkey);
  key.subkeys.clear();
}

}  // namespace

std::shared_ptr<RegistryKey> RegistryKey::findSubkey(std::u16string_view subkeyName) const {
  const auto found =
      std::lower_bound(subkeys.begin(), subkeys.end(), subkeyName,
                       [](const std::shared_ptr<RegistryKey>& key, std::u16string_view wanted) {
                         return compareRegistryNames(key->name, wanted) < 0;
                       });
  if (found == subkeys.end() || !registryNamesEqual((*found)->name, subkeyName)) return nullptr;
  return *found;
}

std::shared_ptr<RegistryKey> RegistryKey::addSubkey(std::u16string subkeyName, FileTime time) {
  auto key = std::make_shared<RegistryKey>();
  key->hive = hive;
  key->parent = this;
  key->name = std::move(subkeyName);
  key->modified = time;
  const auto place = std::upper_bound(
      subkeys.begin(), subkeys.end(), key,
      [](const std::shared_ptr<RegistryKey>& a, const std::shared_ptr<RegistryKey>& b) {
        return compareRegistryNames(a->name, b->name) < 0;
      });
  subkeys.insert(place, key);
  return key;
}

void RegistryKey::removeSubkey(const RegistryKey& subkey) {
  const auto found = std::find_if(subkeys.begin(), subkeys.end(),
                                  [&](const auto& key) { return key.get() == &subkey; });
  if (found == subkeys.end()) return;
  const std::shared_ptr<RegistryKey> removed = *found;
  subkeys.erase(found);
  markDeleted(*removed);
}

RegistryValue* RegistryKey::findValue(std::u16string_view valueName) {
  for (RegistryValue& value : values) {
    if (registryNamesEqual(value.name, valueName)) return &value;
  }
  return nullptr;
}

RegistryValue& RegistryKey::setValue(std::u16string_view valueName, DWORD type, std::string data) {
  RegistryValue* value = findValue(valueName);
  if (value == nullptr) {
    value = &values.emplace_back();
    value->name = std::u16string(valueName);
  }
  value->type = type;
  value->data = std::move(data);
  value->unreadText.reset();
  return *value;
}

bool RegistryKey::removeValue(std::u16string_view valueName) {
  const auto found = std::find_if(values.begin(), values.end(), [&](const RegistryValue& value) {
    return registryNamesEqual(value.name, valueName);
  });
  if (found == values.end()) return false;
  // The lines kept after the value stay where they were in the file.
  std::vector<std::string>& keep =
      found == values.begin() ? optionLines : std::prev(found)->linesAfter;
  keep.insert(keep.end(), found->linesAfter.begin(), found->linesAfter.end());
  values.erase(found);
  return true;
}

RegistryHive::RegistryHive() : root(std::make_shared<RegistryKey>()) { root->hive = this; }

std::unique_ptr<RegistryHive> RegistryHive::create(std::string_view relativeTo, FileTime time) {
  auto hive = std::make_unique<RegistryHive>();
  hive->preamble = {";; All keys relative to " + std::string(relativeTo), "", "#arch=win64"};
  hive->root->modified = time;
  return hive;
}

}  // namespace platform
