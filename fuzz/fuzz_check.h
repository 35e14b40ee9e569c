// What a fuzz target does when a property it checks does not hold: it says which one and
// aborts, so that libFuzzer keeps the input and the replay test fails on it.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>

namespace fuzz {

inline void check(bool holds, const std::string& what) {
  if (holds) return;
  std::fprintf(stderr, "fuzz check failed: %s\n", what.c_str());
  std::abort();
}

}  // namespace fuzz
