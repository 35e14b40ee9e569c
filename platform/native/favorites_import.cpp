#include "favorites_import.h"

#include <optional>

#include "platform/text_encoding.h"
#include "platform/text_file.h"

namespace platform {
namespace {

constexpr std::string_view kForbidden = "<>:\"/\\|?*";
// Long enough for any sensible title, short enough that nested folders stay within MAX_PATH.
constexpr std::size_t kMaxNameLength = 100;
// How many numbered names are tried before a title is given up.
constexpr int kMaxCopies = 1000;
constexpr const char* kFolderFallback = "New Folder";
constexpr const char* kLinkFallback = "Untitled";

bool isReservedDeviceName(const std::string& name) {
  std::string base = ansiToUpper(name.substr(0, name.find('.')));
  while (!base.empty() && base.back() == ' ') base.pop_back();
  if (base == "CON" || base == "PRN" || base == "AUX" || base == "NUL") return true;
  return base.size() == 4 && (base.rfind("COM", 0) == 0 || base.rfind("LPT", 0) == 0) &&
         base[3] >= '1' && base[3] <= '9';
}

std::string lowerAscii(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

bool isLocalFile(const std::string& url) {
  const bool drivePath = url.size() >= 2 && url[1] == ':' &&
                         ((url[0] >= 'a' && url[0] <= 'z') || (url[0] >= 'A' && url[0] <= 'Z'));
  return lowerAscii(url).rfind("file:", 0) == 0 || drivePath || url.rfind("\\\\", 0) == 0 ||
         url.rfind("/", 0) == 0;
}

// The address without control characters, which would break the shortcut's lines.
std::string cleanUrl(const std::string& url) {
  std::string out;
  for (const char c : url) {
    if (static_cast<unsigned char>(c) >= 0x20 && c != 0x7F) out += c;
  }
  return out;
}

// A link without a title is named after its address: "http://example.com/a/" gives
// "example.com_a".
std::string titleFromUrl(std::string url) {
  const std::size_t scheme = url.find("://");
  if (scheme != std::string::npos) url.erase(0, scheme + 3);
  while (!url.empty() && url.back() == '/') url.pop_back();
  return url;
}

std::string numbered(const std::string& base, int copy) {
  return copy == 1 ? base : base + " (" + std::to_string(copy) + ")";
}

std::string shortcutText(const std::string& url) {
  return "[InternetShortcut]\r\nURL=" + url + "\r\n";
}

class FavoritesWriter {
 public:
  FavoritesWriter(FileSystem& files, std::string favorites, const BookmarkFile& bookmarks)
      : m_files(files), m_favorites(std::move(favorites)), m_bookmarks(bookmarks) {}

  FavoritesImportOutcome run() {
    const std::vector<BookmarkEntry>& entries = m_bookmarks.entries;
    // Where each folder entry went; nothing for links and for folders that could not be made.
    std::vector<std::optional<std::string>> folders(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
      const BookmarkEntry& entry = entries[i];
      const std::optional<std::string> parent =
          entry.parent < 0 ? std::optional(m_favorites) : folders[entry.parent];
      if (!parent) {
        problem(entry, "passed over: its folder could not be made");
        continue;
      }
      if (entry.kind == BookmarkEntry::Kind::Folder) {
        folders[i] = makeFolder(*parent, entry);
      } else {
        writeLink(*parent, entry);
      }
    }
    return m_outcome;
  }

 private:
  void problem(const BookmarkEntry& entry, const std::string& what) {
    m_outcome.problems.push_back("line " + std::to_string(entry.line) + ": \"" + entry.title +
                                 "\" " + what);
  }

  void failed(const BookmarkEntry& entry, Status status, const std::string& what) {
    if (m_outcome.firstFailure.ok()) m_outcome.firstFailure = status;
    problem(entry, what + " (error " + toString(status) + ")");
  }

  std::optional<std::string> makeFolder(const std::string& parent, const BookmarkEntry& entry) {
    const std::string base = favoriteName(entry.title, kFolderFallback);
    for (int copy = 1; copy <= kMaxCopies; ++copy) {
      const std::string path = parent + "\\" + numbered(base, copy);
      if (m_files.folderExists(path)) return path;  // filled further
      if (m_files.fileExists(path)) continue;
      const Status status = m_files.createFolder(path);
      if (status.ok()) {
        ++m_outcome.foldersCreated;
        return path;
      }
      if (status != ERROR_ALREADY_EXISTS && status != ERROR_FILE_EXISTS) {
        failed(entry, status, "folder not made");
        return std::nullopt;
      }
    }
    failed(entry, ERROR_FILE_EXISTS, "folder not made: every numbered name is taken");
    return std::nullopt;
  }

  void writeLink(const std::string& parent, const BookmarkEntry& entry) {
    const std::string url = cleanUrl(entry.url);
    if (url.empty() || isLocalFile(url)) {
      ++m_outcome.linksSkipped;
      return problem(entry,
                     url.empty() ? "has no address, passed over" : "is a local file, passed over");
    }
    const std::string text = shortcutText(url);
    const std::string title = entry.title.empty() ? titleFromUrl(url) : entry.title;
    const std::string base = favoriteName(title, kLinkFallback);
    for (int copy = 1; copy <= kMaxCopies; ++copy) {
      const std::string path = parent + "\\" + numbered(base, copy) + ".url";
      if (m_files.folderExists(path)) continue;
      if (m_files.fileExists(path)) {
        const auto existing = readWholeFile(m_files, path);
        if (existing && *existing == text) {
          ++m_outcome.linksPresent;
          return;
        }
        continue;
      }
      const Status status = createShortcut(path, text);
      if (status.ok()) {
        ++m_outcome.linksWritten;
        return;
      }
      if (status != ERROR_FILE_EXISTS && status != ERROR_ALREADY_EXISTS) {
        return failed(entry, status, "shortcut not written");
      }
    }
    failed(entry, ERROR_FILE_EXISTS, "shortcut not written: every numbered name is taken");
  }

  // Never over an existing file: CreateNew fails when the name was taken meanwhile.
  Status createShortcut(const std::string& path, const std::string& text) {
    auto file = m_files.openFile(path, OpenMode::CreateNew);
    if (!file) return file.status();
    const Status written = (*file)->write(text.data(), text.size());
    const Status closed = (*file)->close();
    if (written.ok() && closed.ok()) return ERROR_SUCCESS;
    // A shortcut cut short would point nowhere; it was ours, so it goes.
    ignoreFailure(m_files.deleteFile(path, Force::Yes), "removing a shortcut written short");
    return written.failed() ? written : closed;
  }

  FileSystem& m_files;
  std::string m_favorites;
  const BookmarkFile& m_bookmarks;
  FavoritesImportOutcome m_outcome;
};

}  // namespace

std::string favoriteName(const std::string& title, const std::string& fallback) {
  std::string name;
  for (const char c : title) {
    const bool forbidden =
        static_cast<unsigned char>(c) < 0x20 || kForbidden.find(c) != std::string_view::npos;
    name += forbidden ? '_' : c;
  }
  const std::size_t first = name.find_first_not_of(' ');
  name.erase(0, first == std::string::npos ? name.size() : first);
  if (name.size() > kMaxNameLength) name.resize(kMaxNameLength);
  while (!name.empty() && (name.back() == ' ' || name.back() == '.')) name.pop_back();
  if (name.empty()) return fallback;
  return isReservedDeviceName(name) ? "_" + name : name;
}

FavoritesImportOutcome importFavorites(FileSystem& files, const std::string& favorites,
                                       const BookmarkFile& bookmarks) {
  return FavoritesWriter(files, favorites, bookmarks).run();
}

}  // namespace platform
