#include "text_diff.h"

namespace scenario {

namespace {

// A run of removed lines followed by a run of added ones reads best pair by pair: each expected
// line right above the actual line that took its place.
std::vector<DiffLine> interleaved(std::vector<DiffLine> diff) {
  std::vector<DiffLine> out;
  std::size_t k = 0;
  while (k < diff.size()) {
    if (diff[k].kind != '-') {
      out.push_back(std::move(diff[k++]));
      continue;
    }
    std::size_t removedEnd = k;
    while (removedEnd < diff.size() && diff[removedEnd].kind == '-') ++removedEnd;
    std::size_t addedEnd = removedEnd;
    while (addedEnd < diff.size() && diff[addedEnd].kind == '+') ++addedEnd;
    for (std::size_t r = k, a = removedEnd; r < removedEnd || a < addedEnd;) {
      if (r < removedEnd) out.push_back(std::move(diff[r++]));
      if (a < addedEnd) out.push_back(std::move(diff[a++]));
    }
    k = addedEnd;
  }
  return out;
}

}  // namespace

std::vector<DiffLine> diffLines(const std::vector<std::string>& expected,
                                const std::vector<std::string>& expectedLocations,
                                const std::vector<std::string>& actual) {
  const std::size_t n = expected.size();
  const std::size_t m = actual.size();
  // common[i][j]: length of the longest common subsequence of expected[i..] and actual[j..].
  std::vector<std::vector<std::size_t>> common(n + 1, std::vector<std::size_t>(m + 1, 0));
  for (std::size_t i = n; i-- > 0;) {
    for (std::size_t j = m; j-- > 0;) {
      common[i][j] = expected[i] == actual[j] ? common[i + 1][j + 1] + 1
                                              : std::max(common[i + 1][j], common[i][j + 1]);
    }
  }
  std::vector<DiffLine> diff;
  std::size_t i = 0, j = 0;
  while (i < n || j < m) {
    if (i < n && j < m && expected[i] == actual[j]) {
      diff.push_back({' ', expected[i], expectedLocations[i]});
      ++i;
      ++j;
    } else if (i < n && (j == m || common[i + 1][j] >= common[i][j + 1])) {
      diff.push_back({'-', expected[i], expectedLocations[i]});
      ++i;
    } else {
      diff.push_back({'+', actual[j], ""});
      ++j;
    }
  }
  return interleaved(std::move(diff));
}

std::string formatDiff(const std::vector<DiffLine>& diff, std::size_t context) {
  std::vector<bool> shown(diff.size(), false);
  bool changed = false;
  for (std::size_t k = 0; k < diff.size(); ++k) {
    if (diff[k].kind == ' ') continue;
    changed = true;
    const std::size_t from = k >= context ? k - context : 0;
    for (std::size_t c = from; c < diff.size() && c <= k + context; ++c) shown[c] = true;
  }
  if (!changed) return {};
  std::string out;
  bool gap = false;
  for (std::size_t k = 0; k < diff.size(); ++k) {
    if (!shown[k]) {
      gap = true;
      continue;
    }
    if (gap && !out.empty()) out += "  ...\n";
    gap = false;
    const std::string where = diff[k].location.empty() ? "" : "  (" + diff[k].location + ")";
    out += std::string(1, diff[k].kind) + " " + diff[k].text + (diff[k].kind == '-' ? where : "") +
           "\n";
  }
  return out;
}

}  // namespace scenario
