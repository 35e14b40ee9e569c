#include "windows_path.h"

#include <cctype>
#include <utility>

#include "platform/text_encoding.h"

namespace platform {
namespace {

bool isSeparator(char c) { return c == '\\' || c == '/'; }

bool isDriveLetter(char c) { return std::isalpha(static_cast<unsigned char>(c)) != 0; }

std::vector<std::string> splitNames(std::string_view text) {
  std::vector<std::string> names;
  std::string name;
  for (char c : text) {
    if (isSeparator(c)) {
      if (!name.empty()) names.push_back(std::move(name));
      name.clear();
    } else {
      name += c;
    }
  }
  if (!name.empty()) names.push_back(std::move(name));
  return names;
}

// Windows drops trailing dots and blanks from a name ("Data. " is "Data"); a name made of them
// alone, other than "..", names the folder itself.
std::string trimName(const std::string& name) {
  if (name == "..") return name;
  const std::size_t last = name.find_last_not_of(". ");
  return last == std::string::npos ? std::string() : name.substr(0, last + 1);
}

// Applies `names` to `base`: "." and empty names are skipped, ".." goes up but never above the
// root.
Result<WindowsPath> applyNames(WindowsPath base, const std::vector<std::string>& names,
                               Wildcards wildcards) {
  for (std::size_t i = 0; i < names.size(); ++i) {
    const bool last = i + 1 == names.size();
    const Wildcards allowed = last ? wildcards : Wildcards::Refuse;
    std::string name = hasWildcards(names[i]) ? names[i] : trimName(names[i]);
    if (!isValidName(name, allowed)) return Result<WindowsPath>::failure(ERROR_INVALID_NAME, name);
    if (name.empty()) continue;
    if (name == "..") {
      if (!base.names.empty()) base.names.pop_back();
      continue;
    }
    base.names.push_back(std::move(name));
  }
  return base;
}

Result<WindowsPath> parseUnc(std::string_view rest, Wildcards wildcards) {
  std::vector<std::string> names = splitNames(rest);
  if (names.size() < 2) return Result<WindowsPath>::failure(ERROR_BAD_PATHNAME, std::string(rest));
  for (std::size_t i = 0; i < 2; ++i) {
    if (!isValidName(names[i], Wildcards::Refuse) || names[i] == "." || names[i] == "..") {
      return Result<WindowsPath>::failure(ERROR_INVALID_NAME, names[i]);
    }
  }
  WindowsPath base;
  base.root = WindowsPath::Root::Unc;
  base.server = names[0];
  base.share = names[1];
  names.erase(names.begin(), names.begin() + 2);
  return applyNames(std::move(base), names, wildcards);
}

}  // namespace

std::string WindowsPath::rootText() const {
  if (root == Root::Unc) return "\\\\" + server + "\\" + share;
  return std::string(1, drive) + ":";
}

std::string WindowsPath::text() const {
  std::string out = rootText();
  if (names.empty()) return root == Root::Drive ? out + "\\" : out;
  for (const std::string& name : names) out += "\\" + name;
  return out;
}

WindowsPath WindowsPath::parent() const {
  WindowsPath up = *this;
  if (!up.names.empty()) up.names.pop_back();
  return up;
}

WindowsPath WindowsPath::child(const std::string& name) const {
  WindowsPath down = *this;
  down.names.push_back(name);
  return down;
}

Result<WindowsPath> parseWindowsPath(std::string_view path, const WindowsPath& current,
                                     Wildcards wildcards) {
  if (path.empty()) return Result<WindowsPath>::failure(ERROR_PATH_NOT_FOUND, "");
  if (path.size() >= 2 && isSeparator(path[0]) && isSeparator(path[1])) {
    return parseUnc(path.substr(2), wildcards);
  }
  if (path.size() >= 2 && isDriveLetter(path[0]) && path[1] == ':') {
    const char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(path[0])));
    std::string_view rest = path.substr(2);
    WindowsPath base;
    base.drive = letter;
    // "C:foo" continues from the current directory when that is on C:, from C:\ otherwise.
    const bool relative = rest.empty() || !isSeparator(rest[0]);
    if (relative && current.root == WindowsPath::Root::Drive && current.drive == letter) {
      base = current;
    }
    return applyNames(std::move(base), splitNames(rest), wildcards);
  }
  WindowsPath base = current;
  if (isSeparator(path[0])) base.names.clear();  // "\foo" is from the current root
  return applyNames(std::move(base), splitNames(path), wildcards);
}

bool endsWithSeparator(std::string_view path) { return !path.empty() && isSeparator(path.back()); }

std::pair<std::string, std::string> splitLastName(std::string_view path) {
  const std::size_t cut = path.find_last_of("\\/");
  if (cut == std::string_view::npos) {
    // "C:x.doc" keeps its drive as the folder part.
    if (path.size() >= 2 && path[1] == ':') {
      return {std::string(path.substr(0, 2)), std::string(path.substr(2))};
    }
    return {std::string(), std::string(path)};
  }
  std::string_view folder = path.substr(0, cut);
  // Keep the separator of a root ("C:\", "\") so the folder part still names the root.
  if (folder.empty() || (folder.size() == 2 && folder[1] == ':')) folder = path.substr(0, cut + 1);
  return {std::string(folder), std::string(path.substr(cut + 1))};
}

bool hasWildcards(std::string_view name) { return name.find_first_of("*?") != name.npos; }

bool isValidName(std::string_view name, Wildcards wildcards) {
  for (char c : name) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20) return false;
    switch (c) {
      case '<':
      case '>':
      case ':':
      case '"':
      case '|':
        return false;
      case '*':
      case '?':
        if (wildcards == Wildcards::Refuse) return false;
        break;
      default:
        break;
    }
  }
  return true;
}

}  // namespace platform
