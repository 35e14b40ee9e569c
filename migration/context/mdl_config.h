// The configuration file CONFIG.MIG, the stored defaults under the program's registry key, and
// the file texts the file search shows.
#pragma once

#include <string>
#include <vector>

#include "context/configuration.h"

namespace migration {

class Program;

// The key that holds the stored defaults (written only, never read back).
inline constexpr const char* kDefaultsKey = "SOFTWARE\\Ostrel\\Carrovan";

// Reads <program directory>\Config.mig into program.config. False when the file cannot be
// opened or read to its end, or ends with a header line; values read so far are kept.
bool LoadConfig(Program& program);

// arrExcludeList from strDefaultExcludeList.
void LoadExcludeList(Configuration& config);

// The file's last write time as a general date; the zero date's text when it cannot be read.
std::string FileModifiedText(Program& program, const std::string& path);
// The file's size in kilobytes with one decimal; "0" when it cannot be read.
std::string FileSizeKBText(Program& program, const std::string& path);

// A program-wide list text split at every comma: "" gives no entries, "a,,b" three.
std::vector<std::string> splitCommaList(const std::string& text);
// The entries joined by single commas.
std::string joinCommaList(const std::vector<std::string>& entries);

}  // namespace migration
