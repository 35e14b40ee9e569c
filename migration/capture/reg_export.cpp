#include "capture/reg_export.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string_view>

#include "capture/export_path_tokens.h"
#include "context/reg_value.h"
#include "capture/reg_value_line.h"
#include "platform/text_file.h"

namespace migration {
namespace {

using platform::DWORD;
using platform::ERROR_MORE_DATA;
using platform::ERROR_NO_MORE_ITEMS;
using platform::ERROR_SUCCESS;
using platform::HKEY;
using platform::Status;

constexpr std::string_view kHeader = "REGEDIT4\r\n\r\n";
constexpr std::string_view kLineEnd = "\r\n";

// The buffers the walk starts with; they grow when the registry asks for more.
constexpr DWORD kKeyNameBuffer = 256;
constexpr DWORD kValueNameBuffer = 1024;
constexpr DWORD kDataBuffer = 1024;
// Windows keeps key names below 256 and value names below 16,384 characters; a name longer than
// this is not worth asking for again.
constexpr std::size_t kLongestName = 65536;
// A value whose size changes between two reads is asked for again, a few times at most.
constexpr int kReadAttempts = 16;

// Windows 95/98 keep the desktop's look under these names; their values do not suit the new
// machine, so they stay behind at every depth.
constexpr std::array<std::string_view, 5> kWin9xDesktopKeys = {
    "Appearance", "Microsoft Input Devices", "WindowMetrics", "PowerCfg", "Desktop"};

bool isWin9xDesktopKey(std::string_view name) {
  return std::find(kWin9xDesktopKeys.begin(), kWin9xDesktopKeys.end(), name) !=
         kWin9xDesktopKeys.end();
}

std::string trimmedBlanks(const std::string& text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::string childPath(const std::string& parent, const std::string& name) {
  return parent.empty() ? name : parent + '\\' + name;
}

// One export: the text being built and what the report collects on the way.
class RegExport {
 public:
  RegExport(ExportContext& context, HKEY root, std::string rootName, ExportReport& report)
      : m_context(context), m_root(root), m_rootName(std::move(rootName)), m_report(report) {
    m_text.append(kHeader);
  }

  void ExportKeyTree(const std::string& keyPath);
  void WriteExportFile(const std::string& fileName);

 private:
  void ExportKeyValues(HKEY key, const std::string& keyPath);
  void writeValue(const std::string& keyPath, std::string_view name, DWORD type,
                  std::string_view data);
  std::vector<std::string> subKeyNames(HKEY key, const std::string& keyPath);
  void leaveOutWin9xDesktopKeys(std::vector<std::string>& names);
  bool limitPassed();
  std::string fullName(const std::string& keyPath) const {
    return keyPath.empty() ? m_rootName : m_rootName + '\\' + keyPath;
  }
  void passOver(const std::string& keyPath, std::string name, std::string reason) {
    m_report.valuesPassedOver.push_back({fullName(keyPath), std::move(name), std::move(reason)});
  }

  ExportContext& m_context;
  HKEY m_root;
  std::string m_rootName;
  ExportReport& m_report;
  std::string m_text;
  bool m_limitReached = false;
  // Reused from key to key: most values fit the first size.
  std::vector<char> m_keyName = std::vector<char>(kKeyNameBuffer);
  std::vector<char> m_valueName = std::vector<char>(kValueNameBuffer);
  std::vector<char> m_data = std::vector<char>(kDataBuffer);
};

void RegExport::ExportKeyTree(const std::string& keyPath) {
  HKEY key = 0;
  const Status opened =
      m_context.registry.RegOpenKeyExA(m_root, keyPath.c_str(), 0, platform::KEY_READ, &key);
  if (opened.failed()) {
    m_report.keysSkipped.push_back({fullName(keyPath), opened});
    return;
  }
  ExportKeyValues(key, keyPath);
  std::vector<std::string> names = subKeyNames(key, keyPath);
  // NOTE: nothing was written to the key, so a failed close loses nothing.
  platform::ignoreFailure(m_context.registry.RegCloseKey(key), "a key opened for reading");
  leaveOutWin9xDesktopKeys(names);

  for (const std::string& name : names) {
    if (m_context.doEvents) m_context.doEvents();
    if (limitPassed()) {
      m_limitReached = true;
      m_report.cutByLimit = true;
      m_report.cutAtKey = fullName(childPath(keyPath, name));
      return;
    }
    ExportKeyTree(childPath(keyPath, name));
    if (m_limitReached) return;  // a deeper level passed the limit: no further key anywhere
  }
}

void RegExport::ExportKeyValues(HKEY key, const std::string& keyPath) {
  m_text += '[';
  m_text += m_rootName;
  if (!keyPath.empty()) {
    m_text += '\\';
    const auto rewritten = RewriteOfficeKeyText(keyPath);
    m_text += rewritten ? *rewritten : keyPath;
  }
  m_text += ']';
  m_text += kLineEnd;
  ++m_report.keysWritten;

  for (DWORD index = 0;; ++index) {
    DWORD type = 0;
    DWORD nameLength = 0;
    DWORD dataLength = 0;
    Status status = ERROR_SUCCESS;
    for (int attempt = 0; attempt < kReadAttempts; ++attempt) {
      nameLength = static_cast<DWORD>(m_valueName.size());
      dataLength = static_cast<DWORD>(m_data.size());
      status = m_context.registry.RegEnumValueA(key, index, m_valueName.data(), &nameLength, &type,
                                                reinterpret_cast<platform::BYTE*>(m_data.data()),
                                                &dataLength);
      if (status != ERROR_MORE_DATA) break;
      // The registry reports the data's size; a name too long for its buffer it does not.
      if (dataLength > m_data.size()) {
        m_data.resize(dataLength);
      } else if (m_valueName.size() < kLongestName) {
        m_valueName.resize(m_valueName.size() * 2);
      } else {
        break;
      }
    }
    if (status == ERROR_NO_MORE_ITEMS) break;
    if (status == ERROR_MORE_DATA) {
      passOver(keyPath, {}, "value " + std::to_string(index) + " could not be read whole");
      continue;
    }
    if (status.failed()) {
      passOver(keyPath, {},
               "the value list ended early at value " + std::to_string(index) + " with status " +
                   platform::toString(status));
      break;
    }
    writeValue(keyPath, std::string_view(m_valueName.data(), nameLength), type,
               std::string_view(m_data.data(), dataLength));
  }
  m_text += kLineEnd;
}

void RegExport::writeValue(const std::string& keyPath, std::string_view name, DWORD type,
                           std::string_view data) {
  const auto newName = RewriteOfficeKeyText(name);
  if (newName) name = *newName;
  // Only the values the old export wrote as text get the Office rewrites.
  std::optional<std::string> newData;
  if (type == platform::REG_SZ || type == platform::REG_MULTI_SZ) {
    newData = RewriteOfficeValueText(data);
    if (newData) data = *newData;
  }
  if (AppendValueLine(m_text, name, type, data)) {
    ++m_report.valuesWritten;
  } else {
    passOver(keyPath, std::string(name), "its name holds a line break");
  }
}

std::vector<std::string> RegExport::subKeyNames(HKEY key, const std::string& keyPath) {
  std::vector<std::string> names;
  for (DWORD index = 0;;) {
    DWORD length = static_cast<DWORD>(m_keyName.size());
    const Status status = m_context.registry.RegEnumKeyExA(key, index, m_keyName.data(), &length);
    if (status == ERROR_MORE_DATA && m_keyName.size() < kLongestName) {
      m_keyName.resize(m_keyName.size() * 2);
      continue;
    }
    if (status == ERROR_MORE_DATA) {
      m_report.keysSkipped.push_back(
          {fullName(keyPath) + "\\(sub-key " + std::to_string(index) + ", name too long)", status});
      ++index;
      continue;
    }
    if (status == ERROR_NO_MORE_ITEMS) break;
    if (status.failed()) {
      m_report.keysSkipped.push_back(
          {fullName(keyPath) + "\\(sub-keys from " + std::to_string(index) + " on)", status});
      break;
    }
    names.emplace_back(m_keyName.data(), length);
    ++index;
  }
  return names;
}

void RegExport::leaveOutWin9xDesktopKeys(std::vector<std::string>& names) {
  if (std::none_of(names.begin(), names.end(), isWin9xDesktopKey)) return;
  // Read afresh for every list, as the machine may say otherwise by now.
  if (m_context.environment.variable("OS").value_or("") == "Windows_NT") return;
  m_report.keysLeftOut += std::erase_if(names, isWin9xDesktopKey);
}

bool RegExport::limitPassed() {
  if (!m_context.limitText) return false;
  const auto limit = textToInteger(m_context.limitText());
  if (!limit) {
    m_report.limitUnreadable = true;
    return false;
  }
  const auto length = static_cast<std::int64_t>(m_text.size() - kHeader.size());
  return length > *limit;
}

// The Office rewrites were made value by value before escaping, where they cannot be confused
// with the escapes; what is left is the closing line end and the file.
void RegExport::WriteExportFile(const std::string& fileName) {
  m_text += kLineEnd;
  m_report.fileStatus = platform::writeWholeFile(m_context.files, fileName, m_text);
}

}  // namespace

std::optional<std::string> RegistryRootName(HKEY root) {
  switch (root) {
    case platform::HKEY_CLASSES_ROOT:
      return "HKEY_CLASSES_ROOT";
    case platform::HKEY_CURRENT_USER:
      return "HKEY_CURRENT_USER";
    case platform::HKEY_LOCAL_MACHINE:
      return "HKEY_LOCAL_MACHINE";
    case platform::HKEY_USERS:
      return "HKEY_USERS";
    case platform::HKEY_CURRENT_CONFIG:
      return "HKEY_CURRENT_CONFIG";
    case platform::HKEY_DYN_DATA:
      return "HKEY_DYN_DATA";
    default:
      return std::nullopt;
  }
}

ExportReport ExportRegistryKey(ExportContext& context, HKEY root, const std::string& keyPath,
                               const std::string& fileName) {
  ExportReport report;
  report.fileName = fileName;
  const std::string path = trimmedBlanks(keyPath);
  const auto rootName = RegistryRootName(root);
  if (!rootName) {
    report.key = path;
    report.rootUnknown = true;
    report.fileStatus = platform::ERROR_INVALID_HANDLE;
    return report;
  }
  report.key = path.empty() ? *rootName : *rootName + '\\' + path;
  RegExport exporter(context, root, *rootName, report);
  exporter.ExportKeyTree(path);
  exporter.WriteExportFile(fileName);
  return report;
}

std::vector<std::string> DescribeExport(const ExportReport& report) {
  std::vector<std::string> lines;
  if (report.rootUnknown) {
    lines.push_back("Not exported " + report.key + ": the root key is unknown; no file written");
    return lines;
  }
  lines.push_back("Exported " + report.key + " to " + report.fileName + ": " +
                  std::to_string(report.keysWritten) + " keys, " +
                  std::to_string(report.valuesWritten) + " values");
  for (const SkippedKey& skipped : report.keysSkipped) {
    lines.push_back("  key not exported: " + skipped.key + " (status " +
                    platform::toString(skipped.status) + ")");
  }
  for (const PassedOverValue& value : report.valuesPassedOver) {
    lines.push_back("  value passed over in " + value.key + ": \"" + value.name + "\", " +
                    value.reason);
  }
  if (report.keysLeftOut > 0) {
    lines.push_back("  " + std::to_string(report.keysLeftOut) +
                    " Windows 95/98 desktop keys left out");
  }
  if (report.limitUnreadable) lines.push_back("  the size limit is no number: none applied");
  if (report.cutByLimit) {
    lines.push_back("  cut by the size limit: " + report.cutAtKey +
                    " and the keys after it are missing");
  }
  if (report.fileStatus.failed()) {
    lines.push_back("  file not written (status " + platform::toString(report.fileStatus) + ")");
  }
  return lines;
}

}  // namespace migration
