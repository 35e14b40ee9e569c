#include "driver_catalogue.h"

#include <algorithm>
#include <map>
#include <utility>

#include "platform/text_encoding.h"
#include "text_scan.h"

namespace platform {
namespace {

constexpr std::string_view kBlanks = " \t";

std::string_view trimmed(std::string_view text) {
  text = skipBlanks(text, kBlanks);
  while (!text.empty() && kBlanks.find(text.back()) != std::string_view::npos)
    text.remove_suffix(1);
  return text;
}

std::string decodeInf(std::string_view bytes) {
  if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
      static_cast<unsigned char>(bytes[1]) == 0xFE) {
    return utf16ToAnsi(utf16FromLittleEndian(bytes.substr(2)));
  }
  return std::string(bytes);
}

// One "key = value" line; a line without '=' has only a key.
struct InfLine {
  std::string key;
  std::string value;
  bool hasValue = false;
};

// The INF text taken into sections of lines.
class InfReader {
 public:
  explicit InfReader(std::string_view bytes) : m_text(decodeInf(bytes)) {}

  // Sections by upper-cased name; a section given twice holds the lines of both.
  std::map<std::string, std::vector<InfLine>> read() {
    std::map<std::string, std::vector<InfLine>> sections;
    std::vector<InfLine>* current = nullptr;
    std::string line;
    while (nextLogicalLine(line)) {
      const std::string_view text = trimmed(line);
      if (text.empty()) continue;
      if (text.front() == '[') {
        const std::size_t close = text.find(']');
        const std::string name(trimmed(
            text.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1)));
        current = &sections[ansiToUpper(name)];
        continue;
      }
      if (current != nullptr) current->push_back(splitLine(text));
    }
    return sections;
  }

 private:
  // A line without its comment, joined with the next ones while it ends in '\'.
  bool nextLogicalLine(std::string& out) {
    out.clear();
    bool any = false;
    while (m_next < m_text.size()) {
      any = true;
      std::size_t end = m_text.find_first_of("\r\n", m_next);
      if (end == std::string::npos) end = m_text.size();
      std::string piece = withoutComment(std::string_view(m_text).substr(m_next, end - m_next));
      m_next = end;
      if (m_next < m_text.size() && m_text[m_next] == '\r') ++m_next;
      if (m_next < m_text.size() && m_text[m_next] == '\n') ++m_next;
      const std::string_view kept = trimmed(piece);
      if (!kept.empty() && kept.back() == '\\') {
        out += std::string(kept.substr(0, kept.size() - 1));
        continue;
      }
      out += piece;
      return true;
    }
    return any;
  }

  static std::string withoutComment(std::string_view line) {
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
      if (line[i] == '"') quoted = !quoted;
      if (line[i] == ';' && !quoted) return std::string(line.substr(0, i));
    }
    return std::string(line);
  }

  static InfLine splitLine(std::string_view text) {
    bool quoted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
      if (text[i] == '"') quoted = !quoted;
      if (text[i] == '=' && !quoted) {
        return {std::string(trimmed(text.substr(0, i))), std::string(trimmed(text.substr(i + 1))),
                true};
      }
    }
    return {std::string(text), {}, false};
  }

  std::string m_text;
  std::size_t m_next = 0;
};

// A quoted text loses its quotes ("" inside stands for one); a %name% comes from [Strings].
std::string resolveText(std::string_view text, const std::vector<InfLine>* strings) {
  text = trimmed(text);
  if (text.size() >= 2 && text.front() == '%' && text.back() == '%' && strings != nullptr) {
    const std::string_view name = text.substr(1, text.size() - 2);
    for (const InfLine& line : *strings) {
      if (ansiEqualNoCase(line.key, name)) return resolveText(line.value, nullptr);
    }
    return std::string(text);
  }
  if (text.size() >= 2 && text.front() == '"' && text.back() == '"') {
    std::string out;
    const std::string_view inner = text.substr(1, text.size() - 2);
    for (std::size_t i = 0; i < inner.size(); ++i) {
      out += inner[i];
      if (inner[i] == '"' && i + 1 < inner.size() && inner[i + 1] == '"') ++i;
    }
    return out;
  }
  return std::string(text);
}

std::vector<std::string> commaFields(std::string_view text) {
  std::vector<std::string> fields;
  std::size_t start = 0;
  for (;;) {
    const std::size_t comma = text.find(',', start);
    fields.emplace_back(trimmed(text.substr(
        start, comma == std::string_view::npos ? std::string_view::npos : comma - start)));
    if (comma == std::string_view::npos) return fields;
    start = comma + 1;
  }
}

// The sections that hold one manufacturer's models.
std::vector<std::string> modelSections(const InfLine& line, const std::vector<InfLine>* strings) {
  if (!line.hasValue) return {ansiToUpper(resolveText(line.key, strings))};
  const std::vector<std::string> fields = commaFields(line.value);
  const std::string base = ansiToUpper(resolveText(fields[0], strings));
  std::vector<std::string> sections{base};
  for (std::size_t i = 1; i < fields.size(); ++i) {
    if (!fields[i].empty()) sections.push_back(base + "." + ansiToUpper(fields[i]));
  }
  return sections;
}

}  // namespace

std::vector<std::string> catalogueModels(std::string_view infBytes) {
  const auto sections = InfReader(infBytes).read();
  const auto find = [&sections](const std::string& name) -> const std::vector<InfLine>* {
    const auto found = sections.find(name);
    return found == sections.end() ? nullptr : &found->second;
  };
  const std::vector<InfLine>* strings = find("STRINGS");
  const std::vector<InfLine>* manufacturers = find("MANUFACTURER");
  std::vector<std::string> models;
  if (manufacturers == nullptr) return models;
  for (const InfLine& manufacturer : *manufacturers) {
    for (const std::string& name : modelSections(manufacturer, strings)) {
      const std::vector<InfLine>* section = find(name);
      if (section == nullptr) continue;
      for (const InfLine& line : *section) {
        if (!line.hasValue) continue;
        std::string model = resolveText(line.key, strings);
        if (!model.empty()) models.push_back(std::move(model));
      }
    }
  }
  return models;
}

std::optional<std::string> findCatalogueModel(std::string_view infBytes, const std::string& model) {
  for (const std::string& listed : catalogueModels(infBytes)) {
    if (ansiEqualNoCase(listed, model)) return listed;
  }
  return std::nullopt;
}

std::string driverCatalogueText(const std::vector<std::string>& models) {
  // Makers in the order they first appear, each with its models.
  std::vector<std::pair<std::string, std::vector<std::string>>> makers;
  for (const std::string& model : models) {
    if (model.empty()) continue;
    std::string maker = model.substr(0, model.find(' '));
    if (maker.empty()) maker = "Generic";
    for (char& c : maker) {
      if (c == '"' || c == '[' || c == ']' || c == ';' || c == '%') c = '_';
    }
    auto found = std::find_if(makers.begin(), makers.end(), [&maker](const auto& entry) {
      return ansiEqualNoCase(entry.first, maker);
    });
    if (found == makers.end()) found = makers.insert(makers.end(), {maker, {}});
    found->second.push_back(model);
  }
  const auto quoted = [](const std::string& text) {
    std::string out = "\"";
    for (const char c : text) out += c == '"' ? std::string("\"\"") : std::string(1, c);
    return out + "\"";
  };
  std::string text =
      "; Printer drivers this machine can install\r\n[Version]\r\nSignature=\"$Windows NT$\"\r\n"
      "Class=Printer\r\n\r\n[Manufacturer]\r\n";
  for (const auto& [maker, ignored] : makers) text += quoted(maker) + "\r\n";
  for (const auto& [maker, makerModels] : makers) {
    text += "\r\n[" + maker + "]\r\n";
    for (const std::string& model : makerModels) text += quoted(model) + " = UNIDRV.DLL\r\n";
  }
  return text;
}

}  // namespace platform
