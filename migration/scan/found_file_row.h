// One row of a found-files list: "File Path", "Filename", "Size (kb)", "Modified".
#pragma once

#include <string>

#include "forms/list_view.h"
#include "context/regional_format.h"
#include "platform/file_system.h"

namespace migration {

// The row for `file` found in `directory`: the size in kilobytes with one decimal (halves to
// even) and the last-modified time as a short date, both from what the listing reported.
forms::ListItem foundFileRow(const std::string& directory, const platform::DirectoryEntry& file,
                             const RegionalFormat& format);

// A row's file: its "File Path" and "Filename" joined by one backslash, none added after a
// drive root.
std::string foundFilePath(const forms::ListItem& row);

}  // namespace migration
