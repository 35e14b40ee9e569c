#include "registry_text.h"

#include <charconv>
#include <cstdio>
#include <cstring>

#include "forms/control.h"
#include "platform/text_encoding.h"

namespace scenario {

namespace {

struct TypeName {
  const char* name;
  platform::DWORD type;
};
constexpr TypeName kTypeNames[] = {
    {"none", platform::REG_NONE},           {"sz", platform::REG_SZ},
    {"expand_sz", platform::REG_EXPAND_SZ}, {"binary", platform::REG_BINARY},
    {"dword", platform::REG_DWORD},         {"multi_sz", platform::REG_MULTI_SZ},
};

bool isTextType(platform::DWORD type) {
  return type == platform::REG_SZ || type == platform::REG_EXPAND_SZ;
}

std::optional<std::uint32_t> parseNumber(const std::string& text) {
  std::uint32_t value = 0;
  const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
  const char* begin = text.data() + (hex ? 2 : 0);
  const char* end = text.data() + text.size();
  const auto [next, error] = std::from_chars(begin, end, value, hex ? 16 : 10);
  if (error != std::errc() || next != end || begin == end) return std::nullopt;
  return value;
}

std::optional<std::string> parseHexBytes(const std::string& text) {
  std::string bytes;
  if (text.empty()) return bytes;
  std::size_t start = 0;
  while (start <= text.size()) {
    const std::size_t comma = std::min(text.find(',', start), text.size());
    const std::string piece = text.substr(start, comma - start);
    unsigned value = 0;
    const auto [next, error] =
        std::from_chars(piece.data(), piece.data() + piece.size(), value, 16);
    if (piece.empty() || piece.size() > 2 || error != std::errc() ||
        next != piece.data() + piece.size()) {
      return std::nullopt;
    }
    bytes += static_cast<char>(value);
    start = comma + 1;
  }
  return bytes;
}

std::string hexText(const std::string& bytes) {
  std::string out;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    char hex[4];
    std::snprintf(hex, sizeof hex, "%02x", static_cast<unsigned char>(bytes[i]));
    out += (i ? "," : "") + std::string(hex);
  }
  return out;
}

}  // namespace

std::optional<RegistryQuestion> splitRegistryQuestion(const std::vector<Word>& words) {
  if (words.empty()) return std::nullopt;
  RegistryQuestion question;
  std::size_t next = 0;
  if (words[0].quoted) {
    question.key = words[next++].text;
  } else {
    while (next < words.size() && !words[next].quoted && words[next].text != "@") {
      question.key += (question.key.empty() ? "" : " ") + words[next++].text;
    }
  }
  if (next < words.size()) {
    question.name = words[next].quoted ? words[next].text : std::string();
    ++next;
  }
  if (next != words.size() || question.key.empty()) return std::nullopt;
  return question;
}

std::optional<RegistryPath> parseRegistryPath(const std::string& text) {
  static const std::pair<const char*, platform::HKEY> kRoots[] = {
      {"HKLM", platform::HKEY_LOCAL_MACHINE}, {"HKEY_LOCAL_MACHINE", platform::HKEY_LOCAL_MACHINE},
      {"HKCU", platform::HKEY_CURRENT_USER},  {"HKEY_CURRENT_USER", platform::HKEY_CURRENT_USER},
      {"HKCR", platform::HKEY_CLASSES_ROOT},  {"HKEY_CLASSES_ROOT", platform::HKEY_CLASSES_ROOT},
      {"HKU", platform::HKEY_USERS},          {"HKEY_USERS", platform::HKEY_USERS},
  };
  const std::size_t slash = text.find('\\');
  const std::string root = text.substr(0, slash);
  for (const auto& [name, handle] : kRoots) {
    if (platform::ansiEqualNoCase(root, name)) {
      return RegistryPath{handle, slash == std::string::npos ? "" : text.substr(slash + 1)};
    }
  }
  return std::nullopt;
}

std::optional<RegistryData> parseRegistryData(const std::vector<Word>& words, std::string& error) {
  if (words.empty()) {
    error = "a value needs a type: sz, expand_sz, multi_sz, dword, binary or none";
    return std::nullopt;
  }
  RegistryData data;
  bool known = false;
  for (const auto& [name, type] : kTypeNames) {
    if (words[0].text == name) {
      data.type = type;
      known = true;
    }
  }
  if (!known) {
    error = "unknown value type " + words[0].text;
    return std::nullopt;
  }
  if (isTextType(data.type)) {
    const bool unterminated = words.size() == 3 && words[2].text == "unterminated";
    if (words.size() < 2 || !words[1].quoted || (words.size() > 2 && !unterminated)) {
      error = words[0].text + " needs one quoted text, then \"unterminated\" if it has no NUL";
      return std::nullopt;
    }
    data.bytes = words[1].text + (unterminated ? "" : std::string(1, '\0'));
  } else if (data.type == platform::REG_MULTI_SZ) {
    for (std::size_t i = 1; i < words.size(); ++i) data.bytes += words[i].text + '\0';
    data.bytes += '\0';
  } else if (data.type == platform::REG_DWORD) {
    const auto number = words.size() == 2 ? parseNumber(words[1].text) : std::nullopt;
    if (!number) {
      error = "dword needs one number (26 or 0x1a)";
      return std::nullopt;
    }
    data.bytes.resize(4);
    std::memcpy(data.bytes.data(), &*number, 4);
  } else if (data.type == platform::REG_BINARY) {
    const auto bytes = parseHexBytes(words.size() == 2 ? words[1].text : "");
    if (!bytes || words.size() > 2) {
      error = "binary needs hex bytes joined by commas (0a,ff)";
      return std::nullopt;
    }
    data.bytes = *bytes;
  } else if (words.size() > 1) {
    error = "none takes no data";
    return std::nullopt;
  }
  return data;
}

std::string registryDataText(const RegistryData& data) {
  if (isTextType(data.type)) {
    const bool terminated = !data.bytes.empty() && data.bytes.back() == '\0';
    const std::string text = terminated ? data.bytes.substr(0, data.bytes.size() - 1) : data.bytes;
    return std::string(data.type == platform::REG_SZ ? "sz " : "expand_sz ") + forms::quoted(text) +
           (terminated ? "" : " unterminated");
  }
  if (data.type == platform::REG_DWORD && data.bytes.size() == 4) {
    std::uint32_t value = 0;
    std::memcpy(&value, data.bytes.data(), 4);
    return "dword " + std::to_string(value);
  }
  if (data.type == platform::REG_MULTI_SZ) {
    std::string out = "multi_sz";
    std::string written;  // what the printed line would store, to show only a faithful form
    std::size_t start = 0;
    while (start < data.bytes.size()) {
      const std::size_t end = data.bytes.find('\0', start);
      if (end == start || end == std::string::npos) break;
      out += " " + forms::quoted(data.bytes.substr(start, end - start));
      written += data.bytes.substr(start, end - start + 1);
      start = end + 1;
    }
    // An empty string inside, or a missing final NUL, only shows in the bytes themselves.
    if (written + '\0' == data.bytes) return out;
  }
  // No blank after an empty value: scenario lines lose their trailing blanks.
  const std::string bytes = data.bytes.empty() ? "" : " " + hexText(data.bytes);
  if (data.type == platform::REG_BINARY) return "binary" + bytes;
  if (data.type == platform::REG_NONE && data.bytes.empty()) return "none";
  return "hex(" + std::to_string(data.type) + ")" + bytes;
}

platform::Status createRegistryKey(platform::Registry& registry, const RegistryPath& path) {
  platform::HKEY key = 0;
  const platform::Status status = registry.RegCreateKeyExA(path.root, path.subKey.c_str(),
                                                         platform::KEY_ALL_ACCESS, &key, nullptr);
  if (status.ok()) platform::ignoreFailure(registry.RegCloseKey(key), "a key of the scenario's machine");
  return status;
}

platform::Status writeRegistryValue(platform::Registry& registry, const RegistryPath& path,
                                  const std::string& name, const RegistryData& data) {
  platform::HKEY key = 0;
  platform::Status status = registry.RegCreateKeyExA(path.root, path.subKey.c_str(),
                                                   platform::KEY_ALL_ACCESS, &key, nullptr);
  if (status.failed()) return status;
  status = registry.RegSetValueExA(key, name.c_str(), data.type,
                                   reinterpret_cast<const platform::BYTE*>(data.bytes.data()),
                                   static_cast<platform::DWORD>(data.bytes.size()));
  platform::ignoreFailure(registry.RegCloseKey(key), "a key of the scenario's machine");
  return status;
}

std::optional<RegistryData> readRegistryValue(platform::Registry& registry,
                                              const RegistryPath& path, const std::string& name) {
  platform::HKEY key = 0;
  if (registry.RegOpenKeyExA(path.root, path.subKey.c_str(), 0, platform::KEY_READ, &key).failed()) {
    return std::nullopt;
  }
  RegistryData data;
  platform::DWORD size = 0;
  platform::Status status = registry.RegQueryValueExA(key, name.c_str(), &data.type, nullptr, &size);
  if (status.ok()) {
    data.bytes.resize(size);
    status = registry.RegQueryValueExA(key, name.c_str(), &data.type,
                                       reinterpret_cast<platform::BYTE*>(data.bytes.data()), &size);
    data.bytes.resize(size);
  }
  platform::ignoreFailure(registry.RegCloseKey(key), "a key of the scenario's machine");
  if (status.failed()) return std::nullopt;
  return data;
}

bool registryKeyExists(platform::Registry& registry, const RegistryPath& path) {
  platform::HKEY key = 0;
  if (registry.RegOpenKeyExA(path.root, path.subKey.c_str(), 0, platform::KEY_READ, &key).failed()) {
    return false;
  }
  platform::ignoreFailure(registry.RegCloseKey(key), "a key of the scenario's machine");
  return true;
}

}  // namespace scenario
