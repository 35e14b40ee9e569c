// Timing one piece of work on a shared machine: the clock and the processor time of this process
// and its children, keeping the best of several rounds.
#pragma once

#include <functional>

namespace bench {

struct Timing {
  double wall = 1e30;  // seconds on the clock
  double cpu = 1e30;   // user and system seconds of this process and its children
};

// NOTE: the machine is shared: other work stretches the clock time of whichever side it happens
// to overlap. So the two sides of a comparison take turns, each keeps its best round, and the
// processor time is printed beside the clock time.
void measure(Timing& timing, const std::function<void()>& work);

}  // namespace bench
