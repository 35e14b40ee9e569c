// A scenario file: its [machine], [actions] and [expect] sections as lines, with `include` lines
// replaced by the included file and `<<TAG` blocks attached to the line that opens them.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace scenario {

struct ScenarioLine {
  std::string text;      // trimmed, without a block opener
  std::string location;  // "file.scenario:12"
  bool hasBlock = false;
  std::string block;  // the block's lines, each ended by CR LF
};

// Actions, then what must hold once they have run. A file may have several steps: each
// [actions] that follows an [expect] starts the next one.
struct ScenarioStep {
  std::vector<ScenarioLine> actions;
  std::vector<ScenarioLine> expect;
};

struct ScenarioFile {
  std::vector<ScenarioLine> machine;
  std::vector<ScenarioStep> steps;
};

// Reads and splits a scenario file; false with `error` set when it cannot.
bool readScenarioFile(const std::filesystem::path& path, ScenarioFile& scenario,
                      std::string& error);

}  // namespace scenario
