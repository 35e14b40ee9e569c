#include "native_thread_service.h"

#include <gtest/gtest.h>

#include <memory>
#include <thread>
#include <vector>

namespace platform {
namespace {

TEST(NativeThreadService, RunsEveryTaskOnItsWorkersAndWaitShowsTheResults) {
  NativeThreadService service(2);
  EXPECT_EQ(service.workers(), 2u);
  const std::thread::id caller = std::this_thread::get_id();
  std::vector<long> sums(200, 0);
  std::vector<std::thread::id> ranOn(sums.size());
  std::vector<std::unique_ptr<PendingTask>> pending;
  for (std::size_t i = 0; i < sums.size(); ++i) {
    pending.push_back(service.start([&, i] {
      for (long k = 0; k <= static_cast<long>(i); ++k) sums[i] += k;
      ranOn[i] = std::this_thread::get_id();
    }));
  }
  for (std::size_t i = 0; i < sums.size(); ++i) {
    pending[i]->wait();
    const long n = static_cast<long>(i);
    EXPECT_EQ(sums[i], n * (n + 1) / 2) << i;
    EXPECT_NE(ranOn[i], caller) << i;
  }
}

TEST(NativeThreadService, AHandleLetGoWaitsForItsTask) {
  NativeThreadService service(1);
  std::vector<int> order;
  {
    auto first = service.start([&] {
      std::this_thread::yield();
      order.push_back(1);
    });
    auto second = service.start([&] { order.push_back(2); });
  }  // neither was waited for: letting the handles go waits
  EXPECT_EQ(order, (std::vector<int>{1, 2})) << "one worker runs the tasks in order";
}

}  // namespace
}  // namespace platform
