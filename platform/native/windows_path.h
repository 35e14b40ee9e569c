// A Windows path taken apart: the root (a drive letter or a UNC share) and the names below it,
// with separators, ".", ".." and drive-relative forms already applied.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/status.h"

namespace platform {

enum class Wildcards { Refuse, AllowInLast };

struct WindowsPath {
  enum class Root { Drive, Unc };

  Root root = Root::Drive;
  char drive = 'C';    // upper case
  std::string server;  // UNC only
  std::string share;   // UNC only
  std::vector<std::string> names;

  bool isRoot() const { return names.empty(); }
  // "C:" or "\\server\share".
  std::string rootText() const;
  // "C:\", "C:\Data\x.doc", "\\server\share", "\\server\share\x".
  std::string text() const;
  WindowsPath parent() const;
  WindowsPath child(const std::string& name) const;
};

// Parses `path`, relative forms against `current` (an absolute path). Characters that Windows
// forbids in names give ERROR_INVALID_NAME; `\\server` without a share ERROR_BAD_PATHNAME;
// an empty path ERROR_PATH_NOT_FOUND. With Wildcards::AllowInLast the last name may hold * and ?.
Result<WindowsPath> parseWindowsPath(std::string_view path, const WindowsPath& current,
                                     Wildcards wildcards = Wildcards::Refuse);

// True when the text ends in a separator ("C:\Data\"), which copies read as "into this folder".
bool endsWithSeparator(std::string_view path);

// Splits off the last name: {"C:\Data", "*.doc"}. The folder part is "" for a bare name and
// keeps the root's separator ("C:\" for "C:\x").
std::pair<std::string, std::string> splitLastName(std::string_view path);

bool hasWildcards(std::string_view name);

// Characters Windows refuses in a name: < > : " | ? * and the control characters.
bool isValidName(std::string_view name, Wildcards wildcards);

}  // namespace platform
