#include "reg_command.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>

#include "platform/text_encoding.h"
#include "platform/text_file.h"
#include "reg_import.h"

namespace simwin {
namespace {

using platform::BYTE;
using platform::DWORD;
using platform::HKEY;
using platform::Status;

constexpr const char* kUsage =
    "usage: simwin reg query KEY [/v NAME | /ve]\n"
    "       simwin reg import FILE\n";
constexpr const char* kNotFound =
    "ERROR: The system was unable to find the specified registry key or value.\n";
constexpr const char* kIndent = "    ";

struct RootName {
  const char* shortName;
  const char* fullName;
  HKEY key;
};
constexpr RootName kRoots[] = {
    {"HKLM", "HKEY_LOCAL_MACHINE", platform::HKEY_LOCAL_MACHINE},
    {"HKCU", "HKEY_CURRENT_USER", platform::HKEY_CURRENT_USER},
    {"HKCR", "HKEY_CLASSES_ROOT", platform::HKEY_CLASSES_ROOT},
    {"HKU", "HKEY_USERS", platform::HKEY_USERS},
    {"HKCC", "HKEY_CURRENT_CONFIG", platform::HKEY_CURRENT_CONFIG},
};

struct KeyName {
  HKEY root = 0;
  std::string path;      // below the root, without leading or trailing backslashes
  std::string fullName;  // as reg prints it: the root's full name and the path
};

std::optional<KeyName> parseKeyName(std::string text) {
  while (!text.empty() && text.back() == '\\') text.pop_back();
  const std::size_t separator = text.find('\\');
  const std::string root = text.substr(0, separator);
  for (const RootName& candidate : kRoots) {
    if (!platform::ansiEqualNoCase(root, candidate.shortName) &&
        !platform::ansiEqualNoCase(root, candidate.fullName)) {
      continue;
    }
    KeyName name{candidate.key, {}, candidate.fullName};
    if (separator != std::string::npos) {
      name.path = text.substr(separator + 1);
      name.fullName += "\\" + name.path;
    }
    return name;
  }
  return std::nullopt;
}

std::string typeName(DWORD type) {
  static constexpr const char* kNames[] = {"REG_NONE",
                                           "REG_SZ",
                                           "REG_EXPAND_SZ",
                                           "REG_BINARY",
                                           "REG_DWORD",
                                           "REG_DWORD_BIG_ENDIAN",
                                           "REG_LINK",
                                           "REG_MULTI_SZ",
                                           "REG_RESOURCE_LIST",
                                           "REG_FULL_RESOURCE_DESCRIPTOR",
                                           "REG_RESOURCE_REQUIREMENTS_LIST",
                                           "REG_QWORD"};
  if (type < std::size(kNames)) return kNames[type];
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "0x%x", type);
  return buffer;
}

std::string hexBytes(const std::string& data) {
  std::string text;
  char digits[3];
  for (unsigned char byte : data) {
    std::snprintf(digits, sizeof digits, "%02X", byte);
    text += digits;
  }
  return text;
}

std::uint64_t littleEndian(const std::string& data) {
  std::uint64_t number = 0;
  for (std::size_t i = data.size(); i-- > 0;) {
    number = (number << 8) | static_cast<unsigned char>(data[i]);
  }
  return number;
}

// The data as reg shows it: text up to its NUL, the strings of a multi-string joined by \0,
// numbers in hex, everything else as hex digits.
std::string formatData(DWORD type, const std::string& data) {
  switch (type) {
    case platform::REG_SZ:
    case platform::REG_EXPAND_SZ:
      return data.substr(0, data.find('\0'));
    case platform::REG_MULTI_SZ: {
      std::string text = data;
      while (!text.empty() && text.back() == '\0') text.pop_back();
      std::string joined;
      for (char c : text) joined += c == '\0' ? std::string("\\0") : std::string(1, c);
      return joined;
    }
    case platform::REG_DWORD:
    case platform::REG_DWORD_BIG_ENDIAN:
    case platform::REG_QWORD: {
      const std::size_t size = type == platform::REG_QWORD ? 8 : 4;
      if (data.size() != size) break;
      char buffer[24];
      std::snprintf(buffer, sizeof buffer, "0x%llx",
                    static_cast<unsigned long long>(littleEndian(data)));
      return buffer;
    }
    default:
      break;
  }
  return hexBytes(data);
}

void printValue(std::ostream& out, const std::string& name, DWORD type, const std::string& data) {
  out << kIndent << (name.empty() ? "(Default)" : name) << kIndent << typeName(type) << kIndent
      << formatData(type, data) << "\n";
}

class OpenKey {
 public:
  OpenKey(platform::Registry& registry, const KeyName& name) : m_registry(registry) {
    m_status = registry.RegOpenKeyExA(name.root, name.path.c_str(), 0, platform::KEY_READ, &m_key);
  }
  ~OpenKey() {
    // Only read from: closing cannot lose anything.
    if (m_status.ok()) {
      platform::ignoreFailure(m_registry.RegCloseKey(m_key), "a key opened for reading");
    }
  }
  OpenKey(const OpenKey&) = delete;
  OpenKey& operator=(const OpenKey&) = delete;

  Status status() const { return m_status; }
  HKEY handle() const { return m_key; }

 private:
  platform::Registry& m_registry;
  HKEY m_key = 0;
  Status m_status;
};

struct Value {
  std::string name;
  DWORD type = 0;
  std::string data;
};

std::optional<Value> enumValue(platform::Registry& registry, HKEY key, DWORD index) {
  DWORD dataLength = 0;
  DWORD type = 0;
  if (registry.RegEnumValueA(key, index, nullptr, nullptr, &type, nullptr, &dataLength) !=
      platform::ERROR_SUCCESS) {
    return std::nullopt;
  }
  Value value;
  std::string name(16384, '\0');
  DWORD nameLength = static_cast<DWORD>(name.size());
  value.data.resize(dataLength);
  if (registry.RegEnumValueA(key, index, name.data(), &nameLength, &value.type,
                             reinterpret_cast<BYTE*>(value.data.data()),
                             &dataLength) != platform::ERROR_SUCCESS) {
    return std::nullopt;
  }
  value.name = name.substr(0, nameLength);
  value.data.resize(dataLength);
  return value;
}

std::optional<Value> queryValue(platform::Registry& registry, HKEY key, const std::string& name) {
  Value value{name, 0, {}};
  DWORD length = 0;
  if (registry.RegQueryValueExA(key, name.c_str(), &value.type, nullptr, &length) !=
      platform::ERROR_SUCCESS) {
    return std::nullopt;
  }
  value.data.resize(length);
  if (registry.RegQueryValueExA(key, name.c_str(), &value.type,
                                reinterpret_cast<BYTE*>(value.data.data()),
                                &length) != platform::ERROR_SUCCESS) {
    return std::nullopt;
  }
  value.data.resize(length);
  return value;
}

int failed(std::ostream& err, Status status) {
  if (status == platform::ERROR_FILE_NOT_FOUND) {
    err << kNotFound;
  } else {
    err << "ERROR: the registry gave status " << status.code() << "\n";
  }
  return 1;
}

int queryKey(platform::Registry& registry, const KeyName& name, std::ostream& out,
             std::ostream& err) {
  OpenKey key(registry, name);
  if (key.status().failed()) return failed(err, key.status());
  out << "\n";
  for (DWORD index = 0;; ++index) {
    const std::optional<Value> value = enumValue(registry, key.handle(), index);
    if (!value) {
      if (index > 0) out << "\n";
      break;
    }
    if (index == 0) out << name.fullName << "\n";
    printValue(out, value->name, value->type, value->data);
  }
  char subkey[256];
  for (DWORD index = 0;; ++index) {
    DWORD length = sizeof subkey;
    if (registry.RegEnumKeyExA(key.handle(), index, subkey, &length) != platform::ERROR_SUCCESS) {
      break;
    }
    out << name.fullName << "\\" << std::string(subkey, length) << "\n";
  }
  return 0;
}

int queryOneValue(platform::Registry& registry, const KeyName& name, const std::string& valueName,
                  std::ostream& out, std::ostream& err) {
  OpenKey key(registry, name);
  if (key.status().failed()) return failed(err, key.status());
  const std::optional<Value> value = queryValue(registry, key.handle(), valueName);
  if (!value) return failed(err, platform::ERROR_FILE_NOT_FOUND);
  out << "\n" << name.fullName << "\n";
  printValue(out, value->name, value->type, value->data);
  out << "\n";
  return 0;
}

int queryCommand(platform::Machine& machine, const std::vector<std::string>& args,
                 std::ostream& out, std::ostream& err) {
  if (args.size() < 2) {
    err << kUsage;
    return 2;
  }
  const std::optional<KeyName> name = parseKeyName(args[1]);
  if (!name) {
    err << "ERROR: Invalid key name: " << args[1] << "\n";
    return 2;
  }
  if (args.size() == 2) return queryKey(machine.registry(), *name, out, err);
  if (args.size() == 3 && platform::ansiEqualNoCase(args[2], "/ve")) {
    return queryOneValue(machine.registry(), *name, "", out, err);
  }
  if (args.size() == 4 && platform::ansiEqualNoCase(args[2], "/v")) {
    return queryOneValue(machine.registry(), *name, args[3], out, err);
  }
  err << kUsage;
  return 2;
}

// A file on the host when one is there by that name, otherwise a Windows path on the machine.
platform::Result<std::string> readRegFile(platform::Machine& machine, const std::string& path) {
  std::error_code error;
  if (std::filesystem::is_regular_file(path, error)) {
    std::ifstream in(path, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) return platform::Result<std::string>::failure(platform::ERROR_READ_FAULT, path);
    return bytes;
  }
  return platform::readWholeFile(machine.files(), path);
}

int importCommand(platform::Machine& machine, const std::vector<std::string>& args,
                  std::ostream& out, std::ostream& err) {
  if (args.size() != 2) {
    err << kUsage;
    return 2;
  }
  const auto bytes = readRegFile(machine, args[1]);
  if (!bytes) {
    err << "ERROR: cannot read " << args[1] << " (status " << bytes.status().code() << ")\n";
    return 1;
  }
  const platform::RegImportOutcome outcome = platform::importRegFile(machine.registry(), *bytes);
  for (const std::string& problem : outcome.problems) err << args[1] << ": " << problem << "\n";
  if (!outcome.imported) {
    err << "ERROR: " << args[1] << " is not a registry file\n";
    return 1;
  }
  // What was imported counts only once it is on the disk: a full disk stores nothing.
  for (const platform::HKEY root : {platform::HKEY_LOCAL_MACHINE, platform::HKEY_CURRENT_USER}) {
    if (const platform::Status flushed = machine.registry().RegFlushKey(root); flushed.failed()) {
      err << "ERROR: the registry could not be written (status " << flushed.code()
          << "): nothing of " << args[1] << " was stored\n";
      return 1;
    }
  }
  if (!outcome.problems.empty()) {
    err << "ERROR: " << outcome.problems.size() << " line(s) of " << args[1]
        << " could not be imported; the rest was\n";
    return 1;
  }
  out << "The operation completed successfully.\n";
  return 0;
}

}  // namespace

int runRegCommand(platform::Machine& machine, const std::vector<std::string>& args,
                  std::ostream& out, std::ostream& err) {
  if (!args.empty() && platform::ansiEqualNoCase(args[0], "query")) {
    return queryCommand(machine, args, out, err);
  }
  if (!args.empty() && platform::ansiEqualNoCase(args[0], "import")) {
    return importCommand(machine, args, out, err);
  }
  err << kUsage;
  return 2;
}

}  // namespace simwin
