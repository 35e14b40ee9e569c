#include "registry_file_writer.h"

#include <algorithm>
#include <cstdio>

#include "platform/text_encoding.h"
#include "registry_escapes.h"
#include "registry_file_format.h"
#include "registry_names.h"
#include "text_scan.h"

namespace platform {
namespace {

// Beyond this column a hex line is continued on the next one.
constexpr int kHexLineWidth = 76;

std::string hexNumber(const char* format, unsigned value) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, format, value);
  return buffer;
}

bool isStringType(DWORD type) {
  return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
}

// Only a properly terminated string is written as text; anything else as hex bytes.
bool writesAsText(const RegistryValue& value) {
  const std::string& data = value.data;
  return isStringType(value.type) && data.size() >= 2 && data.size() % 2 == 0 &&
         data[data.size() - 1] == '\0' && data[data.size() - 2] == '\0';
}

std::string formatHex(const RegistryValue& value, std::size_t column) {
  std::string out = value.type == REG_BINARY ? "hex:" : hexNumber("hex(%x):", value.type);
  column += out.size();
  for (std::size_t i = 0; i < value.data.size(); ++i) {
    out += hexNumber("%02x", static_cast<unsigned char>(value.data[i]));
    column += 2;
    if (i + 1 == value.data.size()) break;
    out += ',';
    if (++column > kHexLineWidth) {
      out += "\\\n  ";
      column = 2;
    }
  }
  return out;
}

std::string formatData(const RegistryValue& value, std::size_t column) {
  if (writesAsText(value)) {
    const std::u16string text = utf16FromLittleEndian(value.data);
    const std::string prefix = value.type == REG_SZ ? "" : hexNumber("str(%x):", value.type);
    return prefix + '"' +
           escapeRegistryText(std::u16string_view(text).substr(0, text.size() - 1), "\"") + '"';
  }
  if (value.type == REG_DWORD && value.data.size() == 4) {
    unsigned dword = 0;
    for (int i = 3; i >= 0; --i) dword = (dword << 8) | static_cast<unsigned char>(value.data[i]);
    return hexNumber("dword:%08x", dword);
  }
  return formatHex(value, column);
}

template <typename T, typename Name>
std::vector<const T*> inFileOrder(const std::vector<T>& items, Name name) {
  std::vector<const T*> sorted;
  sorted.reserve(items.size());
  for (const T& item : items) sorted.push_back(&item);
  std::stable_sort(sorted.begin(), sorted.end(), [&](const T* a, const T* b) {
    return compareRegistryNamesForFile(name(*a), name(*b)) < 0;
  });
  return sorted;
}

void appendLines(std::string& out, const std::vector<std::string>& lines) {
  for (const std::string& line : lines) {
    out += line;
    out += '\n';
  }
}

// The reader takes a line that starts with a hex digit as more hex data of a damaged value before
// it, whose text it cannot know the end of. A blank line keeps such a kept line its own.
void appendLinesAfterValue(std::string& out, const std::vector<std::string>& lines,
                           const RegistryValue* value) {
  if (value != nullptr && value->unreadText && !lines.empty()) {
    const std::string_view first = skipBlanks(lines.front(), kFileBlanks);
    if (!first.empty() && isHexDigit(first.front())) out += '\n';
  }
  appendLines(out, lines);
}

// Wine writes a section for a key with values, a class, no sub-keys or a link; a key that has
// only sub-keys is implied by them. A key holding lines we keep gets one too, to keep them.
bool hasSection(const RegistryKey& key) {
  return !key.values.empty() || key.subkeys.empty() || key.keyClass || key.isLink ||
         !key.optionLines.empty() || !key.linesAtEnd.empty();
}

void appendSection(std::string& out, const RegistryKey& key, const std::string& path) {
  out += "\n[" + path + "] " + std::to_string(unixSecondsFromFileTime(key.modified)) + '\n';
  out += "#time=" + hexNumber("%x", static_cast<unsigned>(key.modified >> 32)) +
         hexNumber("%08x", static_cast<unsigned>(key.modified & 0xFFFFFFFFu)) + '\n';
  if (key.keyClass) out += "#class=\"" + escapeRegistryText(*key.keyClass, "\"") + "\"\n";
  if (key.isLink) out += "#link\n";
  appendLines(out, key.optionLines);
  const RegistryValue* lastValue = nullptr;
  for (const RegistryValue* value : inFileOrder(
           key.values, [](const RegistryValue& v) -> const std::u16string& { return v.name; })) {
    out += formatRegistryValue(*value);
    appendLinesAfterValue(out, value->linesAfter, value);
    lastValue = value->linesAfter.empty() ? value : nullptr;
  }
  appendLinesAfterValue(out, key.linesAtEnd, lastValue);
}

void appendKey(std::string& out, const RegistryKey& key, const std::string& path) {
  if (hasSection(key)) appendSection(out, key, path);
  for (const std::shared_ptr<RegistryKey>* subkey :
       inFileOrder(key.subkeys, [](const std::shared_ptr<RegistryKey>& k) -> const std::u16string& {
         return k->name;
       })) {
    const std::string name = escapeRegistryText((*subkey)->name, "[]");
    appendKey(out, **subkey, path.empty() ? name : path + "\\\\" + name);
  }
}

}  // namespace

std::string formatRegistryValue(const RegistryValue& value) {
  if (value.unreadText) return *value.unreadText + '\n';
  const std::string name =
      value.name.empty() ? "@=" : '"' + escapeRegistryText(value.name, "\"") + "\"=";
  return name + formatData(value, name.size()) + '\n';
}

std::string formatRegistryFile(const RegistryHive& hive) {
  std::string out(kRegistryFileHeader);
  out += '\n';
  appendLines(out, hive.preamble);
  appendKey(out, *hive.root, std::string());
  return out;
}

}  // namespace platform
