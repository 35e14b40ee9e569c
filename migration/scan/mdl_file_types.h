// The catalog of standard file types and the custom types: what the file scan looks for.
#pragma once

#include <array>
#include <string>

namespace migration {

class Program;

// The pattern lists of the standard types, by their index in lstStandardFiles. Each searches at
// least what its list text names, so that a user who ticks "MS Excel (*.xls, *.xla)" keeps every
// .xla; the extensions searched beyond the text (.xle, .ppj, .jpeg, .tif, .pdf, .kmp) stay too.
inline constexpr std::array<const char*, 9> kStandardFilePatterns = {
    "*.doc;*.dot;*.rtf",
    "*.xls;*.xla;*.xle",
    "*.ppt",
    "*.mdb;*.mde",
    "*.prj;*.ppj",
    "*.htm;*.html",
    "*.jpg;*.jpeg;*.gif;*.tif;*.tiff;*.bmp;*.psd;*.pdf",
    "*.zip;*.arj;*.lhz;*.rar;*.ace",
    "*.rmp;*.kmp",
};

// The pattern list for the main window's selection: the selected standard types in list order,
// then "*.<type>" for each row of lvType while chkCustom is checked (not grey). Duplicates stay.
// Empty when nothing is selected.
std::string GetFilePatterns(Program& program);

}  // namespace migration
