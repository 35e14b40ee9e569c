#include "bench_timing.h"

#include <sys/resource.h>

#include <algorithm>
#include <chrono>

namespace bench {

namespace {

double cpuSeconds() {
  double total = 0;
  for (int who : {RUSAGE_SELF, RUSAGE_CHILDREN}) {
    rusage usage{};
    ::getrusage(who, &usage);
    total += static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
             static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
  }
  return total;
}

}  // namespace

void measure(Timing& timing, const std::function<void()>& work) {
  const double cpuStart = cpuSeconds();
  const auto start = std::chrono::steady_clock::now();
  work();
  const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
  timing.wall = std::min(timing.wall, elapsed.count());
  timing.cpu = std::min(timing.cpu, cpuSeconds() - cpuStart);
}

}  // namespace bench
