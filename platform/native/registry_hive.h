// One registry hive held in memory: a tree of keys with their values, as a Wine registry file
// stores it, plus what the file held that we do not understand, so that it can be written back.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"
#include "platform/registry.h"

namespace platform {

struct RegistryHive;

struct RegistryValue {
  std::u16string name;  // empty for the default value
  DWORD type = REG_NONE;
  std::string data;  // the bytes as stored: string types hold UTF-16LE
  // The line(s) of a value that could not be read; written back as they were until the value
  // is set again, so that a damaged line is never lost by a rewrite.
  std::optional<std::string> unreadText;
  // Lines we do not understand that followed the value in the file.
  std::vector<std::string> linesAfter;
};

struct RegistryKey {
  RegistryHive* hive = nullptr;
  RegistryKey* parent = nullptr;  // null for the root of a hive
  std::u16string name;
  FileTime modified = 0;
  std::optional<std::u16string> keyClass;
  bool isLink = false;
  bool deleted = false;
  // Lines we do not understand between the key line and its first value.
  std::vector<std::string> optionLines;
  std::vector<RegistryValue> values;  // in creation order, as Windows enumerates them
  // Lines from a key line that could not be read to the next key line, written after every
  // value: the values they hold belong to no key, and the writer must not sort them in among
  // this key's values.
  std::vector<std::string> linesAtEnd;
  std::vector<std::shared_ptr<RegistryKey>> subkeys;  // in Windows' enumeration order

  std::shared_ptr<RegistryKey> findSubkey(std::u16string_view subkeyName) const;
  // The sub-key must not exist yet.
  std::shared_ptr<RegistryKey> addSubkey(std::u16string subkeyName, FileTime time);
  // Takes the sub-key out of the tree; it and everything below it read as deleted from then on.
  void removeSubkey(const RegistryKey& subkey);

  RegistryValue* findValue(std::u16string_view valueName);
  // Replaces the data of an existing value in its place, or adds the value at the end.
  RegistryValue& setValue(std::u16string_view valueName, DWORD type, std::string data);
  bool removeValue(std::u16string_view valueName);
};

struct RegistryHive {
  enum class Access { ReadWrite, ReadOnly };

  // A hive with an empty root; `relativeTo` is what the file's comment line names, such as
  // "REGISTRY\\Machine".
  static std::unique_ptr<RegistryHive> create(std::string_view relativeTo, FileTime time);
  RegistryHive();
  RegistryHive(const RegistryHive&) = delete;
  RegistryHive& operator=(const RegistryHive&) = delete;

  // The lines between the header line and the first key (the comment, #arch, anything else),
  // without the blank line before the first key.
  std::vector<std::string> preamble;
  std::shared_ptr<RegistryKey> root;
  Access access = Access::ReadWrite;
  bool changed = false;
};

}  // namespace platform
