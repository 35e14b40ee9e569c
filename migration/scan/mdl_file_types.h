// The catalog of standard file types and the custom types: what the file scan looks for.
#pragma once

#include <array>
#include <string>

namespace migration {

class Program;

// The pattern lists of the standard types, by their index in lstStandardFiles. Where a list
// text names other extensions than these (Excel shows .xla, searches .xle), the search uses these.
inline constexpr std::array<const char*, 9> kStandardFilePatterns = {
    "*.doc;*.dot;*.rtf",
    "*.xls;*.xle",
    "*.ppt",
    "*.mdb;*.mde",
    "*.ppj",
    "*.htm;*.html",
    "*.jpg;*.jpeg;*.tif;*.bmp;*.psd;*.pdf",
    "*.zip;*.arj;*.lhz;*.rar;*.ace",
    "*.rmp;*.kmp",
};

// The pattern list for the main window's selection: the selected standard types in list order,
// then "*.<type>" for each row of lvType while chkCustom is checked (not grey). Duplicates stay.
// Empty when nothing is selected.
std::string GetFilePatterns(Program& program);

}  // namespace migration
