// A zip archive of stored (uncompressed) entries, built from names and contents, for the machines
// of scenarios: the archive a restore reads, with whatever entry names the scenario needs.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace scenario {

// Entries in order, each its name as stored ("Data/x.doc") and its content.
std::string StoredZip(const std::vector<std::pair<std::string, std::string>>& entries);

}  // namespace scenario
