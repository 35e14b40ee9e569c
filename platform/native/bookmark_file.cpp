#include "bookmark_file.h"

#include <algorithm>
#include <map>
#include <optional>
#include <utility>

#include "platform/text_encoding.h"

namespace platform {
namespace {

constexpr std::string_view kDoctype = "DOCTYPE NETSCAPE-Bookmark-file-1";
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
// An entity is short; a '&' without a ';' soon after it is an ordinary character.
constexpr std::size_t kLongestEntity = 10;

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f'; }
bool isAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isAsciiDigit(char c) { return c >= '0' && c <= '9'; }

std::string lowerAscii(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

// Runs of blanks and control characters become one blank; none at either end.
std::string collapsedBlanks(std::string_view text) {
  std::string out;
  bool blank = false;
  for (const char c : text) {
    if (isSpace(c) || static_cast<unsigned char>(c) < 0x20) {
      blank = !out.empty();
      continue;
    }
    if (blank) out += ' ';
    blank = false;
    out += c;
  }
  return out;
}

std::string trimmedBlanks(std::string_view text) {
  while (!text.empty() && isSpace(text.front())) text.remove_prefix(1);
  while (!text.empty() && isSpace(text.back())) text.remove_suffix(1);
  return std::string(text);
}

std::optional<char32_t> namedEntity(std::string_view name) {
  static const std::map<std::string_view, char32_t> kNamed = {
      {"amp", U'&'}, {"lt", U'<'}, {"gt", U'>'}, {"quot", U'"'}, {"apos", U'\''}, {"nbsp", 0xA0},
  };
  const auto found = kNamed.find(name);
  if (found == kNamed.end()) return std::nullopt;
  return found->second;
}

// "#169" or "#xA9"; nothing for anything else or a value past Unicode.
std::optional<char32_t> numericEntity(std::string_view name) {
  if (name.size() < 2 || name[0] != '#') return std::nullopt;
  const bool hex = name[1] == 'x' || name[1] == 'X';
  const std::string_view digits = name.substr(hex ? 2 : 1);
  if (digits.empty()) return std::nullopt;
  char32_t value = 0;
  for (const char c : digits) {
    unsigned digit = 0;
    if (isAsciiDigit(c)) {
      digit = static_cast<unsigned>(c - '0');
    } else if (hex && c >= 'a' && c <= 'f') {
      digit = static_cast<unsigned>(c - 'a' + 10);
    } else if (hex && c >= 'A' && c <= 'F') {
      digit = static_cast<unsigned>(c - 'A' + 10);
    } else {
      return std::nullopt;
    }
    value = value * (hex ? 16 : 10) + digit;
    if (value > 0x10FFFF) return std::nullopt;
  }
  return value;
}

struct Tag {
  std::string name;                               // lower case
  std::map<std::string, std::string> attributes;  // lower-case names; the first of a name wins
  bool closing = false;
  bool complete = false;  // its '>' was found
};

class BookmarkFileParser {
 public:
  explicit BookmarkFileParser(std::string_view bytes) : m_text(bytes) {}

  BookmarkFile run() {
    if (m_text.starts_with(kUtf8Bom)) {
      m_encoding = Encoding::Utf8;
      m_pos = kUtf8Bom.size();
    }
    while (m_pos < m_text.size()) {
      if (m_text[m_pos] == '<') {
        readMarkup();
      } else {
        readText();
      }
    }
    finishCapture();
    return std::move(m_file);
  }

 private:
  enum class Encoding { Ansi, Utf8 };
  enum class Capture { None, Link, FolderTitle };

  void problem(std::size_t line, const std::string& what) {
    m_file.problems.push_back("line " + std::to_string(line) + ": " + what);
  }

  // Moves on to `to`, counting the lines passed.
  void advance(std::size_t to) {
    for (; m_pos < to && m_pos < m_text.size(); ++m_pos) {
      if (m_text[m_pos] == '\n') ++m_line;
    }
  }

  void readText() {
    const std::size_t end = std::min(m_text.find('<', m_pos), m_text.size());
    if (m_capture != Capture::None) m_captured += decoded(m_text.substr(m_pos, end - m_pos));
    advance(end);
  }

  void readMarkup() {
    const std::string_view rest = m_text.substr(m_pos);
    if (rest.starts_with("<!--")) {
      const std::size_t end = m_text.find("-->", m_pos + 4);
      return advance(end == std::string_view::npos ? m_text.size() : end + 3);
    }
    if (rest.size() > 1 && (rest[1] == '!' || rest[1] == '?')) return readDeclaration();
    const bool closing = rest.size() > 1 && rest[1] == '/';
    const std::size_t nameAt = m_pos + (closing ? 2 : 1);
    if (nameAt >= m_text.size() || !isAsciiLetter(m_text[nameAt])) {
      // A '<' that opens no tag is an ordinary character.
      if (m_capture != Capture::None) m_captured += '<';
      return advance(m_pos + 1);
    }
    const std::size_t line = m_line;
    const Tag tag = readTag(nameAt, closing);
    if (!tag.complete) return problem(line, "<" + tag.name + "> not closed before the end");
    if (tag.closing) return endTag(tag.name);
    startTag(tag);
  }

  void readDeclaration() {
    const std::size_t end = m_text.find('>', m_pos);
    const std::size_t stop = end == std::string_view::npos ? m_text.size() : end;
    const std::string declaration = collapsedBlanks(m_text.substr(m_pos + 2, stop - m_pos - 2));
    if (lowerAscii(declaration) == lowerAscii(kDoctype)) m_file.recognised = true;
    advance(end == std::string_view::npos ? m_text.size() : end + 1);
  }

  std::size_t skipSpaces(std::size_t at) const {
    while (at < m_text.size() && isSpace(m_text[at])) ++at;
    return at;
  }

  Tag readTag(std::size_t nameAt, bool closing) {
    Tag tag;
    tag.closing = closing;
    std::size_t at = nameAt;
    while (at < m_text.size() && (isAsciiLetter(m_text[at]) || isAsciiDigit(m_text[at]))) ++at;
    tag.name = lowerAscii(m_text.substr(nameAt, at - nameAt));
    for (;;) {
      at = skipSpaces(at);
      if (at >= m_text.size()) {
        advance(m_text.size());
        return tag;
      }
      if (m_text[at] == '>') break;
      if (m_text[at] == '/' || m_text[at] == '=' || m_text[at] == '"' || m_text[at] == '\'') {
        ++at;  // a self-closing slash or a stray character
        continue;
      }
      at = readAttribute(at, tag);
    }
    tag.complete = true;
    advance(at + 1);
    return tag;
  }

  // One name="value" pair from `at`; returns where the next one may start.
  std::size_t readAttribute(std::size_t at, Tag& tag) {
    const std::size_t nameStart = at;
    while (at < m_text.size() && !isSpace(m_text[at]) && m_text[at] != '=' && m_text[at] != '>' &&
           m_text[at] != '/') {
      ++at;
    }
    const std::string name = lowerAscii(m_text.substr(nameStart, at - nameStart));
    std::string value;
    const std::size_t afterName = skipSpaces(at);
    if (afterName < m_text.size() && m_text[afterName] == '=') {
      at = readValue(skipSpaces(afterName + 1), value);
    }
    tag.attributes.emplace(name, decoded(value));
    return at;
  }

  // A value quoted with " or ', or running to a blank or '>'. A quote left open at the end of
  // its line closes at the first '>' of that line, so that one broken tag does not swallow the
  // items after it.
  std::size_t readValue(std::size_t at, std::string& value) {
    if (at >= m_text.size()) return at;
    const char quote = m_text[at];
    if (quote != '"' && quote != '\'') {
      const std::size_t start = at;
      while (at < m_text.size() && !isSpace(m_text[at]) && m_text[at] != '>') ++at;
      value = std::string(m_text.substr(start, at - start));
      return at;
    }
    const std::size_t start = at + 1;
    const std::size_t lineEnd = std::min(m_text.find('\n', start), m_text.size());
    // Looked for on this line only, so that many broken lines cost no more than one pass.
    const std::size_t close = m_text.substr(0, lineEnd).find(quote, start);
    if (close != std::string_view::npos) {
      value = std::string(m_text.substr(start, close - start));
      return close + 1;
    }
    const std::size_t bracket = m_text.substr(0, lineEnd).find('>', start);
    const std::size_t end = bracket == std::string_view::npos ? lineEnd : bracket;
    value = std::string(m_text.substr(start, end - start));
    problem(m_line, "a quoted value is not closed on its line");
    return end;
  }

  void startTag(const Tag& tag) {
    if (tag.name == "dl") {
      finishCapture();
      openList();
    } else if (tag.name == "h3") {
      beginCapture(Capture::FolderTitle);
    } else if (tag.name == "a") {
      beginCapture(Capture::Link);
      const auto href = tag.attributes.find("href");
      m_href = href == tag.attributes.end() ? std::nullopt : std::optional(href->second);
    } else if (tag.name == "dt" || tag.name == "hr") {
      finishCapture();
      m_pendingFolder.reset();
    } else if (tag.name == "dd") {
      // A folder's description stands between its title and its list.
      finishCapture();
    } else if (tag.name == "meta") {
      readCharset(tag);
    } else if (tag.name == "br" && m_capture != Capture::None) {
      m_captured += ' ';
    }
    // Any other tag (<p>, <b>, <title>...) is markup around the items and is passed over.
  }

  void endTag(const std::string& name) {
    if ((name == "a" && m_capture == Capture::Link) ||
        (name == "h3" && m_capture == Capture::FolderTitle)) {
      finishCapture();
    } else if (name == "dl") {
      finishCapture();
      m_pendingFolder.reset();
      if (!m_lists.empty()) m_lists.pop_back();
    }
  }

  void readCharset(const Tag& tag) {
    for (const char* attribute : {"content", "charset"}) {
      const auto value = tag.attributes.find(attribute);
      if (value != tag.attributes.end() &&
          lowerAscii(value->second).find("utf-8") != std::string::npos) {
        m_encoding = Encoding::Utf8;
      }
    }
  }

  void beginCapture(Capture capture) {
    finishCapture();
    m_pendingFolder.reset();
    m_capture = capture;
    m_captureLine = m_line;
  }

  // Ends the link or folder title being read, whether its end tag came or the next item did.
  void finishCapture() {
    const Capture capture = std::exchange(m_capture, Capture::None);
    const std::string title = toAnsi(collapsedBlanks(std::exchange(m_captured, {})));
    if (capture == Capture::FolderTitle) {
      m_pendingFolder = PendingFolder{title, m_captureLine};
    } else if (capture == Capture::Link) {
      if (!m_href) return problem(m_captureLine, "a link without HREF passed over");
      BookmarkEntry link;
      link.kind = BookmarkEntry::Kind::Link;
      link.parent = currentFolder();
      link.title = title;
      link.url = toAnsi(trimmedBlanks(*m_href));
      link.line = m_captureLine;
      m_file.entries.push_back(std::move(link));
    }
  }

  // A list right after a folder title holds that folder's items; any other list (the top one,
  // or a stray one) belongs to the folder around it, so that its end closes nothing more.
  void openList() {
    if (!m_pendingFolder) {
      m_lists.push_back(currentFolder());
      return;
    }
    BookmarkEntry folder;
    folder.kind = BookmarkEntry::Kind::Folder;
    folder.parent = currentFolder();
    folder.title = m_pendingFolder->title;
    folder.line = m_pendingFolder->line;
    m_file.entries.push_back(std::move(folder));
    m_lists.push_back(static_cast<int>(m_file.entries.size() - 1));
    m_pendingFolder.reset();
  }

  int currentFolder() const { return m_lists.empty() ? -1 : m_lists.back(); }

  std::string toAnsi(const std::string& text) const {
    return m_encoding == Encoding::Utf8 ? utf8ToAnsi(text) : text;
  }

  // Text with its entities replaced, still in the file's encoding.
  std::string decoded(std::string_view text) const {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
      const std::size_t semicolon = text[i] == '&'
                                        ? text.substr(0, i + 1 + kLongestEntity).find(';', i + 1)
                                        : std::string_view::npos;
      if (semicolon == std::string_view::npos) {
        out += text[i];
        continue;
      }
      const std::string_view name = text.substr(i + 1, semicolon - i - 1);
      const auto codePoint = name.starts_with("#") ? numericEntity(name) : namedEntity(name);
      if (!codePoint) {
        out += text[i];
        continue;
      }
      appendCodePoint(out, *codePoint);
      i = semicolon;
    }
    return out;
  }

  void appendCodePoint(std::string& out, char32_t codePoint) const {
    if (codePoint == 0) return;
    // As browsers do, &#128; to &#159; are the Windows-1252 characters of those bytes.
    const bool ansiByte = codePoint >= 0x80 && codePoint <= 0x9F;
    if (m_encoding == Encoding::Ansi) {
      if (codePoint < 0x80 || ansiByte) {
        out += static_cast<char>(codePoint);
      } else if (codePoint <= 0xFFFF && (codePoint < 0xD800 || codePoint > 0xDFFF)) {
        out += utf16ToAnsi(std::u16string(1, static_cast<char16_t>(codePoint)));
      } else {
        out += '?';
      }
      return;
    }
    if (ansiByte) {
      out += ansiToUtf8(std::string(1, static_cast<char>(codePoint)));
    } else {
      out += utf8Of(codePoint);
    }
  }

  static std::string utf8Of(char32_t c) {
    std::string out;
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (c >> 18));
      out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
    return out;
  }

  struct PendingFolder {
    std::string title;
    std::size_t line = 0;
  };

  std::string_view m_text;
  std::size_t m_pos = 0;
  std::size_t m_line = 1;
  Encoding m_encoding = Encoding::Ansi;
  Capture m_capture = Capture::None;
  std::string m_captured;
  std::size_t m_captureLine = 0;
  std::optional<std::string> m_href;
  std::optional<PendingFolder> m_pendingFolder;
  std::vector<int> m_lists;  // the folder each open list fills (-1 for the top)
  BookmarkFile m_file;
};

}  // namespace

BookmarkFile parseBookmarkFile(std::string_view bytes) { return BookmarkFileParser(bytes).run(); }

}  // namespace platform
