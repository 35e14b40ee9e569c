// Windows path texts as the component builds them: folders of archives, names stored for added
// files, and the names that extraction accepts.
#pragma once

#include <string>
#include <string_view>

namespace parcelon {

// The folder part of a path ("C:\a\b.zip" -> "C:\a", "C:\b.zip" -> "C:\", "b.zip" -> "").
std::string folderOf(std::string_view path);

enum class KeepPath { No, Yes };

// The name an added file gets in the archive: "\" becomes "/", a drive and the leading "/"s
// are dropped, and only the file name is kept unless the path is to be kept
// (C:\Data\Report.doc -> Data/Report.doc or Report.doc).
std::string storedNameFor(std::string_view sourcePath, KeepPath keepPath);

// False for names that would leave the folder they are extracted into: a drive, a leading "/"
// or "\", or a ".." component.
bool staysInFolder(std::string_view entryName);

}  // namespace parcelon
