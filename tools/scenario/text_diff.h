// A line diff of two texts, printed as a unified diff with a few lines of context.
#pragma once

#include <string>
#include <vector>

namespace scenario {

struct DiffLine {
  char kind;  // ' ' same, '-' only expected, '+' only actual
  std::string text;
  std::string location;  // of an expected line, "" for an actual-only line
};

// The shortest edit from `expected` to `actual` (longest common subsequence of lines).
std::vector<DiffLine> diffLines(const std::vector<std::string>& expected,
                                const std::vector<std::string>& expectedLocations,
                                const std::vector<std::string>& actual);

// The changed lines with `context` unchanged lines around each change; "" when none changed.
std::string formatDiff(const std::vector<DiffLine>& diff, std::size_t context = 2);

}  // namespace scenario
