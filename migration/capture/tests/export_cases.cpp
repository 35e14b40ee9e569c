#include "export_cases.h"

#include <cstdio>
#include <stdexcept>

namespace migration::testing {
namespace {

using platform::DWORD;

std::string bytes(std::initializer_list<int> values) {
  std::string out;
  for (int value : values) out += static_cast<char>(value);
  return out;
}

std::string pattern(std::size_t size) {
  std::string out(size, '\0');
  for (std::size_t i = 0; i < size; ++i) out[i] = static_cast<char>(i * 7 % 256);
  return out;
}

std::string sz(const std::string& text) { return text + '\0'; }

std::vector<ExportCase> makeCases() {
  const std::string office = "Microsoft\\Office\\8.0\\Word";
  const std::string newOffice = "Microsoft\\Office\\10.0\\Word";
  const std::string programs = "C:\\Program Files\\Microsoft Office\\Office";
  return {
      {"", "", platform::REG_SZ, sz("default")},
      {"", "Path", platform::REG_SZ, sz("C:\\Program Files\\App")},
      {"", "Unc", platform::REG_SZ, sz("\\\\server\\share\\dir")},
      {"", "Percent", platform::REG_SZ, sz("%SystemRoot%\\system32")},
      {"", "Quotes", platform::REG_SZ, sz("say \"hi\" to \\\"them\\\"")},
      {"", "Name \"with\" \\ back", platform::REG_SZ, sz("x")},
      {"", "Trailing", platform::REG_SZ, sz("C:\\")},
      {"", "Accents", platform::REG_SZ, sz("caf\xe9 \x80")},
      {"", "Tab", platform::REG_SZ, sz("a\tb")},
      {"", "Lines", platform::REG_SZ, sz("one\r\ntwo")},
      {"", "Empty", platform::REG_SZ, sz("")},
      {"", "NoData", platform::REG_SZ, ""},
      {"", "InnerNul", platform::REG_SZ, std::string("a\0b\0", 4)},
      {"", "NoFinalNul", platform::REG_SZ, "abc", "", "", sz("abc")},
      {"", "LongText", platform::REG_SZ, sz(std::string(3000, 'x') + "\\end")},
      {"", std::string(1500, 'N'), platform::REG_SZ, sz("long name")},
      {"", "Expand", platform::REG_EXPAND_SZ, sz("%USERPROFILE%\\Desktop")},
      {"", "Multi", platform::REG_MULTI_SZ, std::string("C:\\a\0\\\\srv\\b\0\0", 14)},
      {"", "Dword", platform::REG_DWORD, bytes({0x1a, 0, 0, 0x80})},
      {"", "DwordShort", platform::REG_DWORD, bytes({1, 2})},
      {"", "Bits", platform::REG_BINARY, bytes({1, 0xab, 0})},
      {"", "BitsEmpty", platform::REG_BINARY, ""},
      {"", "BigBinary", platform::REG_BINARY, pattern(5000)},
      {"", "None", platform::REG_NONE, bytes({1, 2})},
      {"", "NoneEmpty", platform::REG_NONE, ""},
      {"", "BigEndian", platform::REG_DWORD_BIG_ENDIAN, bytes({0, 0, 0, 0x1a})},
      {"", "Qword", platform::REG_QWORD, bytes({0x88, 0x77, 0x66, 0x55, 0x44, 0x33, 0x22, 0x11})},
      {"", "Link", platform::REG_LINK, bytes({'x', 0, 'y', 0})},
      {"", "Odd type", 0x100, bytes({0xff})},
      {"Sub [1] \"q\"", "a", platform::REG_SZ, sz("1")},
      {"Sub [1] \"q\"\\Deeper", "b", platform::REG_DWORD, bytes({2, 0, 0, 0})},
      {"Microsoft\\Office\\8.0", "Version", platform::REG_DWORD, bytes({8, 0, 0, 0}),
       "Microsoft\\Office\\10.0"},
      {office, "Programs", platform::REG_SZ, sz(programs + "\\WINWORD.EXE"), newOffice, "",
       sz(programs + "10\\WINWORD.EXE")},
      {office, "Folder", platform::REG_SZ, sz(programs), newOffice, "", sz(programs + "10")},
      {office, "Already", platform::REG_SZ, sz(programs + "10\\x"), newOffice},
      {office, "Other", platform::REG_SZ, sz(programs + "11\\x"), newOffice},
      {office, "Setting", platform::REG_SZ, sz("Software\\Microsoft\\Office\\8.0\\Common"),
       newOffice, "", sz("Software\\Microsoft\\Office\\10.0\\Common")},
      {office, "Office\\8.0 name", platform::REG_DWORD, bytes({1, 0, 0, 0}), newOffice,
       "Office\\10.0 name"},
      {office, "Expand", platform::REG_EXPAND_SZ, sz(programs + "\\x"), newOffice},
      {office, "Multi", platform::REG_MULTI_SZ, sz(programs + "\\a") + sz("b") + '\0', newOffice,
       "", sz(programs + "10\\a") + sz("b") + '\0'},
      {office, "Tokens", platform::REG_SZ, sz("[office]\\Office\\x;[2]\\Accessories"), newOffice},
  };
}

void check(platform::Status status, const std::string& what) {
  if (status.failed()) throw std::runtime_error(what + ": status " + platform::toString(status));
}

}  // namespace

const std::vector<ExportCase>& exportCases() {
  static const std::vector<ExportCase> cases = makeCases();
  return cases;
}

void storeExportCases(platform::Registry& registry) {
  for (const ExportCase& value : exportCases()) {
    const std::string path =
        value.key.empty() ? kExportCasesKey : std::string(kExportCasesKey) + '\\' + value.key;
    platform::HKEY key = 0;
    check(registry.RegCreateKeyExA(platform::HKEY_CURRENT_USER, path.c_str(),
                                   platform::KEY_ALL_ACCESS, &key, nullptr),
          path);
    check(registry.RegSetValueExA(key, value.name.c_str(), value.type,
                                  reinterpret_cast<const platform::BYTE*>(value.data.data()),
                                  static_cast<DWORD>(value.data.size())),
          value.name);
    check(registry.RegCloseKey(key), path);
  }
}

ValueDump expectedImport() {
  ValueDump dump;
  for (const ExportCase& value : exportCases()) {
    const std::string& key = value.importedKey.empty() ? value.key : value.importedKey;
    const std::string& name = value.importedName.empty() ? value.name : value.importedName;
    const std::string& data = value.importedData.empty() ? value.data : value.importedData;
    dump[key + '\0' + name] = {value.type, data};
  }
  return dump;
}

namespace {

void dumpKey(platform::Registry& registry, platform::HKEY root, const std::string& path,
             const std::string& relative, ValueDump& dump) {
  platform::HKEY key = 0;
  if (registry.RegOpenKeyExA(root, path.c_str(), 0, platform::KEY_READ, &key).failed()) return;
  std::vector<char> name(70000);
  std::string data(70000, '\0');
  for (DWORD index = 0;; ++index) {
    DWORD nameLength = static_cast<DWORD>(name.size());
    DWORD dataLength = static_cast<DWORD>(data.size());
    DWORD type = 0;
    if (registry.RegEnumValueA(key, index, name.data(), &nameLength, &type,
                               reinterpret_cast<platform::BYTE*>(data.data()), &dataLength).failed()) {
      break;
    }
    dump[relative + '\0' + std::string(name.data(), nameLength)] = {type,
                                                                    data.substr(0, dataLength)};
  }
  std::vector<std::string> subkeys;
  for (DWORD index = 0;; ++index) {
    DWORD nameLength = static_cast<DWORD>(name.size());
    if (registry.RegEnumKeyExA(key, index, name.data(), &nameLength).failed()) break;
    subkeys.emplace_back(name.data(), nameLength);
  }
  ignoreFailure(registry.RegCloseKey(key), "the dump has read the key");
  for (const std::string& subkey : subkeys) {
    dumpKey(registry, root, path + '\\' + subkey,
            relative.empty() ? subkey : relative + '\\' + subkey, dump);
  }
}

}  // namespace

ValueDump dumpValues(platform::Registry& registry, platform::HKEY root, const std::string& path) {
  ValueDump dump;
  dumpKey(registry, root, path, "", dump);
  return dump;
}

std::string describe(const ValueDump& dump) {
  std::string out;
  for (const auto& [where, value] : dump) {
    const std::size_t split = where.find('\0');
    std::string name = where.substr(split + 1);
    if (name.size() > 40) name = name.substr(0, 40) + "...";
    out += "[" + where.substr(0, split) + "] \"" + name + "\" type " + std::to_string(value.first) +
           ":";
    const std::size_t shown = std::min<std::size_t>(value.second.size(), 48);
    char hex[4];
    for (std::size_t i = 0; i < shown; ++i) {
      std::snprintf(hex, sizeof hex, "%02x", static_cast<unsigned char>(value.second[i]));
      out += hex;
    }
    if (shown < value.second.size()) out += "... (" + std::to_string(value.second.size()) + ")";
    out += "\n";
  }
  return out;
}

}  // namespace migration::testing
