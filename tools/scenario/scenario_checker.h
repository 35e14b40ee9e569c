// Compares the [expect] lines of a scenario with what the run left behind. Each line asks a
// question ("txtUser = ...", "file C:\x = ...", "reg HKLM\Key \"Name\" = ..."); the checker
// writes the same question with the actual answer, and lists the message boxes shown and the
// commands started in the places of the "message" and "started" lines.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "scenario_file.h"
#include "scenario_machine.h"
#include "scenario_player.h"

namespace scenario {

class ScenarioChecker {
 public:
  ScenarioChecker(ScenarioMachine& machine, ScenarioPlayer& player)
      : m_machine(machine), m_player(player) {}

  // The actual lines for the expected ones, in the same order. Message boxes and started
  // commands count from the previous call.
  std::vector<std::string> actualLines(const std::vector<ScenarioLine>& expect);

 private:
  std::string answer(const std::string& question);
  std::string controlAnswer(const std::string& reference);
  std::string fileAnswer(const std::string& path);
  std::string registryAnswer(const std::string& question);
  std::string sessionAnswer(const std::string& field);
  std::string configAnswer(const std::string& field);
  // The lines of `text` that hold `filter` (all lines for an empty filter), each quoted.
  static std::string matchingLines(const std::string& text, const std::string& filter);
  std::string logAnswer(const std::string& question);
  std::string stdoutAnswer(const std::string& question);
  // Ends the run as the program does when it exits: its exit status and what it printed.
  const std::pair<int, std::string>& finishedRun();
  std::vector<std::string> messageLines();
  std::vector<std::string> startedLines();

  ScenarioMachine& m_machine;
  ScenarioPlayer& m_player;
  std::size_t m_messagesSeen = 0;
  std::size_t m_startedSeen = 0;
  std::optional<std::pair<int, std::string>> m_finished;
};

}  // namespace scenario
