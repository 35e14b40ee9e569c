#include "native_registry.h"

#include <algorithm>
#include <chrono>
#include <cstring>

#include "platform/text_encoding.h"
#include "registry_file_format.h"
#include "registry_hive_file.h"

namespace platform {
namespace {

constexpr REGSAM kGenericRead = 0x80000000;
constexpr REGSAM kGenericWrite = 0x40000000;
constexpr REGSAM kGenericExecute = 0x20000000;
constexpr REGSAM kGenericAll = 0x10000000;
constexpr REGSAM kMaximumAllowed = 0x02000000;
constexpr REGSAM kAllKeyRights = KEY_ALL_ACCESS;
constexpr REGSAM kDelete = 0x00010000;

// Windows limits a key name to 255 characters.
constexpr std::size_t kMaxKeyNameLength = 255;

constexpr char kUserSid[] = "S-1-5-21-0-0-0-1000";

// The generic rights and MAXIMUM_ALLOWED, as the specific rights of a key.
REGSAM grantedRights(REGSAM access) {
  REGSAM granted = access & kAllKeyRights;
  if (access & (kGenericRead | kGenericExecute)) granted |= KEY_READ;
  if (access & kGenericWrite) granted |= KEY_WRITE;
  if (access & (kGenericAll | kMaximumAllowed)) granted |= kAllKeyRights;
  return granted;
}

bool isStringType(DWORD type) {
  return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
}

std::u16string utf16Name(const char* name) {
  return name == nullptr ? std::u16string() : ansiToUtf16(name);
}

// A value's data as the "A" functions hand it out: string types converted to ANSI.
std::string ansiData(const RegistryValue& value) {
  if (!isStringType(value.type)) return value.data;
  return utf16ToAnsi(utf16FromLittleEndian(value.data));
}

// As stored: string types in UTF-16LE, everything else as given.
std::string storedData(DWORD type, const BYTE* data, DWORD length) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), data ? length : 0);
  if (!isStringType(type)) return std::string(bytes);
  return utf16ToLittleEndian(ansiToUtf16(bytes));
}

// Copies value data into a caller's buffer as Windows does: ERROR_MORE_DATA when it does not
// fit, and a string that lacks its NUL gets one when the buffer has room (not counted).
Status copyData(const std::string& bytes, DWORD type, BYTE* data, DWORD capacity) {
  if (bytes.size() > capacity) return ERROR_MORE_DATA;
  std::memcpy(data, bytes.data(), bytes.size());
  if (isStringType(type) && !bytes.empty() && bytes.size() < capacity && bytes.back() != '\0') {
    data[bytes.size()] = 0;
  }
  return ERROR_SUCCESS;
}

// Copies a name with its NUL; a short buffer gets as much as fits and ERROR_MORE_DATA.
Status copyName(const std::string& ansi, char* name, DWORD* nameLength) {
  if (ansi.size() >= *nameLength) {
    if (*nameLength > 0) {
      std::memcpy(name, ansi.data(), *nameLength - 1);
      name[*nameLength - 1] = '\0';
    }
    return ERROR_MORE_DATA;
  }
  std::memcpy(name, ansi.data(), ansi.size());
  name[ansi.size()] = '\0';
  *nameLength = static_cast<DWORD>(ansi.size());
  return ERROR_SUCCESS;
}

// Splits a sub-key path; doubled backslashes collapse, a leading one is refused.
Result<std::vector<std::u16string>> splitKeyPath(const char* subKey) {
  std::vector<std::u16string> names;
  if (subKey == nullptr) return names;
  const std::u16string path = ansiToUtf16(subKey);
  if (!path.empty() && path[0] == u'\\') {
    return Result<std::vector<std::u16string>>::failure(ERROR_BAD_PATHNAME, subKey);
  }
  std::size_t start = 0;
  while (start < path.size()) {
    std::size_t end = path.find(u'\\', start);
    if (end == std::u16string::npos) end = path.size();
    if (end - start > kMaxKeyNameLength) {
      return Result<std::vector<std::u16string>>::failure(ERROR_INVALID_PARAMETER, subKey);
    }
    if (end > start) names.push_back(path.substr(start, end - start));
    start = end + 1;
  }
  return names;
}

std::vector<std::u16string> joinedPath(const std::vector<std::u16string>& prefix,
                                       const std::vector<std::u16string>& names) {
  std::vector<std::u16string> path = prefix;
  path.insert(path.end(), names.begin(), names.end());
  return path;
}

bool isReadOnly(const RegistryKey& key) {
  return key.hive == nullptr || key.hive->access == RegistryHive::Access::ReadOnly;
}

}  // namespace

NativeRegistry::NativeRegistry(std::filesystem::path machineRoot, Clock* clock)
    : m_root(std::move(machineRoot)), m_clock(clock) {
  const auto slot = [&](const char* file, std::string relativeTo, RegistryHive::Access access) {
    HiveSlot made;
    made.file = m_root / file;
    made.relativeTo = std::move(relativeTo);
    made.access = access;
    return made;
  };
  // The comment line of a new file names the hive's place as Wine does, backslashes escaped.
  m_hives[HiveId::Machine] =
      slot("system.reg", "REGISTRY\\\\Machine", RegistryHive::Access::ReadWrite);
  m_hives[HiveId::User] = slot("user.reg", std::string("REGISTRY\\\\User\\\\") + kUserSid,
                               RegistryHive::Access::ReadWrite);
  m_hives[HiveId::DefaultUser] =
      slot("userdef.reg", "REGISTRY\\\\User\\\\.Default", RegistryHive::Access::ReadOnly);
}

NativeRegistry::~NativeRegistry() {
  // NOTE: a destructor cannot report; callers who must know call flushAll() or RegFlushKey.
  ignoreFailure(flushAll(), "writing the registry back at its end");
}

Status NativeRegistry::flushAll() {
  Status first = ERROR_SUCCESS;
  for (auto& [id, slot] : m_hives) {
    if (!slot.hive) continue;
    const Status status = saveIfChanged(*slot.hive);
    if (first.ok()) first = status;
  }
  return first;
}

FileTime NativeRegistry::now() {
  if (m_clock != nullptr) return m_clock->now();
  const auto sinceEpoch = std::chrono::system_clock::now().time_since_epoch();
  const auto ticks = std::chrono::duration_cast<std::chrono::nanoseconds>(sinceEpoch).count() / 100;
  return kFileTimeOfUnixEpoch + static_cast<FileTime>(ticks);
}

Result<RegistryHive*> NativeRegistry::hive(HiveId id) {
  HiveSlot& slot = m_hives.at(id);
  if (!slot.loaded) {
    slot.loaded = true;
    auto loaded = loadRegistryHiveFile(slot.file, slot.relativeTo, now());
    if (loaded) {
      slot.hive = std::move(loaded.value());
      slot.hive->access = slot.access;
    } else {
      slot.loadStatus = loaded.status();
      slot.loadProblem = loaded.subject();
    }
  }
  if (!slot.hive) return Result<RegistryHive*>::failure(slot.loadStatus, slot.loadProblem);
  return slot.hive.get();
}

Result<bool> NativeRegistry::loadHives() {
  for (const HiveId id : {HiveId::Machine, HiveId::User}) {
    auto loaded = hive(id);
    if (!loaded) return loaded.failureAs<bool>();
  }
  return true;
}

// HKEY_USERS lists the user hives that could be loaded, each under its own name.
Result<std::shared_ptr<RegistryKey>> NativeRegistry::usersRoot() {
  if (!m_users) {
    m_users = std::make_unique<RegistryHive>();
    m_users->access = RegistryHive::Access::ReadOnly;
    const std::pair<HiveId, const char*> mounts[] = {{HiveId::DefaultUser, ".DEFAULT"},
                                                     {HiveId::User, kUserSid}};
    for (const auto& [id, name] : mounts) {
      auto userHive = hive(id);
      if (!userHive) continue;
      (*userHive)->root->name = ansiToUtf16(name);
      m_users->root->subkeys.push_back((*userHive)->root);
    }
  }
  return m_users->root;
}

Result<NativeRegistry::Anchor> NativeRegistry::anchorOf(HKEY handle) {
  const auto under = [&](HiveId id, std::vector<std::u16string> prefix) -> Result<Anchor> {
    auto found = hive(id);
    if (!found) return Result<Anchor>::failure(found.status(), found.subject());
    return Anchor{(*found)->root, std::move(prefix), kAllKeyRights, true};
  };
  switch (handle) {
    case HKEY_LOCAL_MACHINE:
      return under(HiveId::Machine, {});
    case HKEY_CURRENT_USER:
      return under(HiveId::User, {});
    case HKEY_CLASSES_ROOT:
      return under(HiveId::Machine, {u"Software", u"Classes"});
    case HKEY_CURRENT_CONFIG:
      return under(HiveId::Machine,
                   {u"System", u"CurrentControlSet", u"Hardware Profiles", u"Current"});
    case HKEY_USERS: {
      auto root = usersRoot();
      if (!root) return Result<Anchor>::failure(root.status());
      return Anchor{*root, {}, kAllKeyRights, true};
    }
    default:
      break;
  }
  const auto open = m_handles.find(handle);
  if (open == m_handles.end()) return Result<Anchor>::failure(ERROR_INVALID_HANDLE);
  if (open->second.key->deleted) return Result<Anchor>::failure(ERROR_KEY_DELETED);
  return Anchor{open->second.key, {}, open->second.access, false};
}

Result<std::shared_ptr<RegistryKey>> NativeRegistry::walk(const Anchor& anchor,
                                                          const char* subKey) {
  auto names = splitKeyPath(subKey);
  if (!names) return Result<std::shared_ptr<RegistryKey>>::failure(names.status(), names.subject());
  std::shared_ptr<RegistryKey> key = anchor.key;
  for (const std::u16string& name : joinedPath(anchor.prefix, *names)) {
    key = key->findSubkey(name);
    if (!key) return Result<std::shared_ptr<RegistryKey>>::failure(ERROR_FILE_NOT_FOUND);
  }
  return key;
}

Result<std::shared_ptr<RegistryKey>> NativeRegistry::keyOf(HKEY handle, REGSAM needed) {
  auto anchor = anchorOf(handle);
  if (!anchor) return Result<std::shared_ptr<RegistryKey>>::failure(anchor.status());
  if ((anchor->access & needed) != needed) {
    return Result<std::shared_ptr<RegistryKey>>::failure(ERROR_ACCESS_DENIED);
  }
  return walk(*anchor, nullptr);
}

HKEY NativeRegistry::addHandle(std::shared_ptr<RegistryKey> key, REGSAM access) {
  const HKEY handle = m_nextHandle;
  m_nextHandle += 4;
  m_handles[handle] = OpenHandle{std::move(key), access};
  return handle;
}

void NativeRegistry::touch(RegistryKey& key) {
  key.modified = now();
  if (key.hive != nullptr) key.hive->changed = true;
}

Status NativeRegistry::saveIfChanged(RegistryHive& changedHive) {
  if (!changedHive.changed) return ERROR_SUCCESS;
  for (auto& [id, slot] : m_hives) {
    if (slot.hive.get() != &changedHive || slot.access == RegistryHive::Access::ReadOnly) continue;
    const Status status = saveRegistryHiveFile(slot.file, changedHive);
    if (status.ok()) changedHive.changed = false;
    return status;
  }
  return ERROR_SUCCESS;
}

Status NativeRegistry::openOrCreate(HKEY key, const char* subKey, REGSAM access, HKEY* result,
                                  DWORD* disposition, Creation creation) {
  if (result == nullptr) return ERROR_INVALID_PARAMETER;
  *result = 0;
  auto anchor = anchorOf(key);
  if (!anchor) return anchor.status();
  auto names = splitKeyPath(subKey);
  if (!names) return names.status();

  std::shared_ptr<RegistryKey> current = anchor->key;
  DWORD outcome = REG_OPENED_EXISTING_KEY;
  for (const std::u16string& name : joinedPath(anchor->prefix, *names)) {
    std::shared_ptr<RegistryKey> next = current->findSubkey(name);
    if (!next) {
      if (creation == Creation::OpenOnly) return ERROR_FILE_NOT_FOUND;
      if (isReadOnly(*current) || (anchor->access & KEY_CREATE_SUB_KEY) == 0) {
        return ERROR_ACCESS_DENIED;
      }
      next = current->addSubkey(name, now());
      touch(*current);
      outcome = REG_CREATED_NEW_KEY;
    }
    current = std::move(next);
  }
  *result = addHandle(std::move(current), grantedRights(access));
  if (disposition != nullptr) *disposition = outcome;
  return ERROR_SUCCESS;
}

Status NativeRegistry::RegOpenKeyExA(HKEY key, const char* subKey, DWORD /*options*/, REGSAM access,
                                   HKEY* result) {
  return openOrCreate(key, subKey, access, result, nullptr, Creation::OpenOnly);
}

Status NativeRegistry::RegCreateKeyExA(HKEY key, const char* subKey, REGSAM access, HKEY* result,
                                     DWORD* disposition) {
  return openOrCreate(key, subKey, access, result, disposition, Creation::CreateMissing);
}

Status NativeRegistry::RegEnumKeyExA(HKEY key, DWORD index, char* name, DWORD* nameLength) {
  if (name == nullptr || nameLength == nullptr) return ERROR_INVALID_PARAMETER;
  auto found = keyOf(key, KEY_ENUMERATE_SUB_KEYS);
  if (!found) return found.status();
  const auto& subkeys = (*found)->subkeys;
  if (index >= subkeys.size()) return ERROR_NO_MORE_ITEMS;
  const std::string ansi = utf16ToAnsi(subkeys[index]->name);
  // Windows leaves a short buffer and its length alone.
  if (ansi.size() >= *nameLength) return ERROR_MORE_DATA;
  return copyName(ansi, name, nameLength);
}

Status NativeRegistry::RegEnumValueA(HKEY key, DWORD index, char* name, DWORD* nameLength,
                                   DWORD* type, BYTE* data, DWORD* dataLength) {
  if ((data != nullptr && dataLength == nullptr) || (name != nullptr && nameLength == nullptr)) {
    return ERROR_INVALID_PARAMETER;
  }
  auto found = keyOf(key, KEY_QUERY_VALUE);
  if (!found) return found.status();
  const auto& values = (*found)->values;
  if (index >= values.size()) return ERROR_NO_MORE_ITEMS;
  const RegistryValue& value = values[index];
  const std::string bytes = ansiData(value);

  // As Windows: the data is checked first; a name is only filled in when the data fitted.
  Status status = data != nullptr ? copyData(bytes, value.type, data, *dataLength) : ERROR_SUCCESS;
  if (name != nullptr && status.ok()) {
    status = copyName(utf16ToAnsi(value.name), name, nameLength);
  }
  if (type != nullptr) *type = value.type;
  if (dataLength != nullptr) *dataLength = static_cast<DWORD>(bytes.size());
  return status;
}

Status NativeRegistry::RegQueryValueExA(HKEY key, const char* valueName, DWORD* type, BYTE* data,
                                      DWORD* dataLength) {
  if (data != nullptr && dataLength == nullptr) return ERROR_INVALID_PARAMETER;
  auto found = keyOf(key, KEY_QUERY_VALUE);
  if (!found) return found.status();
  const RegistryValue* value = (*found)->findValue(utf16Name(valueName));
  if (value == nullptr) return ERROR_FILE_NOT_FOUND;
  const std::string bytes = ansiData(*value);
  const Status status =
      data != nullptr ? copyData(bytes, value->type, data, *dataLength) : ERROR_SUCCESS;
  if (type != nullptr) *type = value->type;
  if (dataLength != nullptr) *dataLength = static_cast<DWORD>(bytes.size());
  return status;
}

Status NativeRegistry::RegSetValueExA(HKEY key, const char* valueName, DWORD type, const BYTE* data,
                                    DWORD dataLength) {
  if (data == nullptr && dataLength > 0) return ERROR_INVALID_PARAMETER;
  auto found = keyOf(key, KEY_SET_VALUE);
  if (!found) return found.status();
  RegistryKey& target = **found;
  if (isReadOnly(target)) return ERROR_ACCESS_DENIED;
  // NOTE: the byte count is taken as given, so a string counted without its NUL is stored
  // without one. (Windows NT adds the NUL when the byte after the data is one; that reads past
  // what the caller handed over, and the program relies on the count being kept.)
  target.setValue(utf16Name(valueName), type, storedData(type, data, dataLength));
  touch(target);
  return ERROR_SUCCESS;
}

Status NativeRegistry::RegDeleteValueA(HKEY key, const char* valueName) {
  auto found = keyOf(key, KEY_SET_VALUE);
  if (!found) return found.status();
  RegistryKey& target = **found;
  if (isReadOnly(target)) return ERROR_ACCESS_DENIED;
  if (!target.removeValue(utf16Name(valueName))) return ERROR_FILE_NOT_FOUND;
  touch(target);
  return ERROR_SUCCESS;
}

Status NativeRegistry::RegDeleteKeyA(HKEY key, const char* subKey) {
  if (subKey == nullptr) return ERROR_INVALID_PARAMETER;
  auto anchor = anchorOf(key);
  if (!anchor) return anchor.status();
  if (anchor->predefined && *subKey == '\0') return ERROR_ACCESS_DENIED;
  auto found = walk(*anchor, subKey);
  if (!found) return found.status();
  RegistryKey& target = **found;
  // A hive's root cannot go, nor a key that still has sub-keys.
  if (target.parent == nullptr || isReadOnly(target) || !target.subkeys.empty()) {
    return ERROR_ACCESS_DENIED;
  }
  RegistryKey& parent = *target.parent;
  parent.removeSubkey(target);
  touch(parent);
  return ERROR_SUCCESS;
}

Status NativeRegistry::RegDeleteTreeA(HKEY key, const char* subKey) {
  auto anchor = anchorOf(key);
  if (!anchor) return anchor.status();
  auto found = walk(*anchor, subKey);
  if (!found) return found.status();
  RegistryKey& target = **found;
  if (isReadOnly(target)) return ERROR_ACCESS_DENIED;
  if (subKey == nullptr || *subKey == '\0') {
    // Emptying works through the handle itself, which needs the rights Windows names for it.
    // (A named sub-key is opened afresh with every right.)
    REGSAM needed = kDelete | KEY_ENUMERATE_SUB_KEYS | KEY_QUERY_VALUE;
    if (!target.values.empty()) needed |= KEY_SET_VALUE;
    if ((anchor->access & needed) != needed) return ERROR_ACCESS_DENIED;
    // The key stays, emptied of its values and sub-keys.
    while (!target.subkeys.empty()) target.removeSubkey(*target.subkeys.front());
    while (!target.values.empty()) target.removeValue(target.values.front().name);
    touch(target);
    return ERROR_SUCCESS;
  }
  if (target.parent == nullptr) return ERROR_ACCESS_DENIED;
  RegistryKey& parent = *target.parent;
  parent.removeSubkey(target);
  touch(parent);
  return ERROR_SUCCESS;
}

Status NativeRegistry::RegFlushKey(HKEY key) {
  auto found = keyOf(key, 0);
  if (!found) return found.status();
  if ((*found)->hive == nullptr) return ERROR_SUCCESS;
  return saveIfChanged(*(*found)->hive);
}

Status NativeRegistry::RegCloseKey(HKEY key) {
  // NOTE: closing does not write the hive: as on Windows, changes reach the file lazily (at
  // RegFlushKey, flushAll or the end), so that an import of a thousand keys writes it once.
  if (key >= HKEY_CLASSES_ROOT && key <= HKEY_DYN_DATA) return ERROR_SUCCESS;
  const auto open = m_handles.find(key);
  if (open == m_handles.end()) return ERROR_INVALID_HANDLE;
  m_handles.erase(open);
  return ERROR_SUCCESS;
}

}  // namespace platform
