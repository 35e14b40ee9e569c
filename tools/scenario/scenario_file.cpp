#include "scenario_file.h"

#include <fstream>
#include <sstream>

#include "scenario_text.h"

namespace scenario {

namespace {

constexpr int kMostIncludeDepth = 8;

class Reader {
 public:
  explicit Reader(ScenarioFile& scenario) : m_scenario(scenario) {}

  bool read(const std::filesystem::path& path, int depth, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
      error = "cannot read " + path.string();
      return false;
    }
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      lines.push_back(line);
    }
    const std::string name = path.filename().string();
    for (std::size_t i = 0; i < lines.size(); ++i) {
      const std::string location = name + ":" + std::to_string(i + 1);
      const std::string text = trimmedLine(lines[i]);
      if (text.empty() || text[0] == '#') continue;
      if (text == "[machine]" || text == "[actions]" || text == "[expect]") {
        openSection(text);
        continue;
      }
      if (text.rfind("include ", 0) == 0) {
        if (depth >= kMostIncludeDepth) {
          error = location + ": includes nest too deep";
          return false;
        }
        if (!read(path.parent_path() / trimmedLine(text.substr(8)), depth + 1, error)) {
          error = location + ": " + error;
          return false;
        }
        continue;
      }
      ScenarioLine line{text, location, false, {}};
      if (!takeBlock(lines, i, line, error)) return false;
      std::vector<ScenarioLine>* section = current();
      if (section == nullptr) {
        error = location + ": a line before the first [machine], [actions] or [expect]";
        return false;
      }
      section->push_back(std::move(line));
    }
    return true;
  }

 private:
  // A line ending in <<TAG takes the lines up to the one that reads TAG as its block.
  static bool takeBlock(const std::vector<std::string>& lines, std::size_t& i, ScenarioLine& line,
                        std::string& error) {
    const std::size_t opener = line.text.rfind(" <<");
    if (opener == std::string::npos) return true;
    const std::string tag = line.text.substr(opener + 3);
    if (tag.empty() || tag.find(' ') != std::string::npos) return true;
    line.text = trimmedLine(line.text.substr(0, opener));
    line.hasBlock = true;
    for (++i; i < lines.size(); ++i) {
      if (trimmedLine(lines[i]) == tag) return true;
      line.block += lines[i] + "\r\n";
    }
    error = line.location + ": the block is not closed by a line " + tag;
    return false;
  }

  void openSection(const std::string& section) {
    const bool newStep = m_scenario.steps.empty() ||
                         (section == "[actions]" && !m_scenario.steps.back().expect.empty());
    if (section != "[machine]" && newStep) m_scenario.steps.emplace_back();
    m_section = section;
  }

  std::vector<ScenarioLine>* current() {
    if (m_section == "[machine]") return &m_scenario.machine;
    if (m_section == "[actions]") return &m_scenario.steps.back().actions;
    if (m_section == "[expect]") return &m_scenario.steps.back().expect;
    return nullptr;
  }

  ScenarioFile& m_scenario;
  std::string m_section;
};

}  // namespace

bool readScenarioFile(const std::filesystem::path& path, ScenarioFile& scenario,
                      std::string& error) {
  Reader reader(scenario);
  return reader.read(path, 0, error);
}

}  // namespace scenario
