#include "capture/export_path_tokens.h"

// FIXME: ReplaceText belongs below the modules; it lives with the start-up code for now.
#include "context/mdl_main.h"

namespace migration {
namespace {

constexpr std::string_view kOldVersion = "Office\\8.0";
constexpr std::string_view kNewVersion = "Office\\10.0";
constexpr std::string_view kOldDirectory = "\\Microsoft Office\\Office";
constexpr std::string_view kNewDirectoryEnding = "10";

// "Office10" already names the new directory, and "Office11" or "OfficeXP" another one: the old
// directory's name is only the one not followed by a letter or digit.
bool endsDirectoryName(std::string_view text, std::size_t end) {
  if (end >= text.size()) return true;
  const char next = text[end];
  const bool letterOrDigit =
      (next >= '0' && next <= '9') || (next >= 'A' && next <= 'Z') || (next >= 'a' && next <= 'z');
  return !letterOrDigit;
}

std::optional<std::string> replaceVersion(std::string_view text) {
  if (text.find(kOldVersion) == std::string_view::npos) return std::nullopt;
  return ReplaceText(std::string(text), std::string(kOldVersion), std::string(kNewVersion));
}

std::optional<std::string> replaceDirectory(std::string_view text) {
  std::optional<std::string> result;
  std::size_t copied = 0;
  for (std::size_t found = text.find(kOldDirectory); found != std::string_view::npos;
       found = text.find(kOldDirectory, found + kOldDirectory.size())) {
    const std::size_t end = found + kOldDirectory.size();
    if (!endsDirectoryName(text, end)) continue;
    if (!result) result.emplace();
    result->append(text.substr(copied, end - copied));
    result->append(kNewDirectoryEnding);
    copied = end;
  }
  if (result) result->append(text.substr(copied));
  return result;
}

}  // namespace

bool IsDrivePath(std::string_view text) { return text.size() >= 3 && text.substr(1, 2) == ":\\"; }

std::optional<std::string> RewriteOfficeKeyText(std::string_view text) {
  return replaceVersion(text);
}

std::optional<std::string> RewriteOfficeValueText(std::string_view data) {
  return IsDrivePath(data) ? replaceDirectory(data) : replaceVersion(data);
}

}  // namespace migration
