// simwin materialise: makes a machine from a sample, with the shares that several machines see.
//   materialise [--share \\server\share=FOLDER]... SAMPLE_DIR DEST
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace simwin {

// `args` are the words after "materialise". Returns 0 done, 1 failed, 2 bad usage.
int runMaterialiseCommand(const std::vector<std::string>& args, std::ostream& out,
                          std::ostream& err);

}  // namespace simwin
