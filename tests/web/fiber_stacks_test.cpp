// UI fibers on pooled stacks: a stack comes back when its fiber finishes or is dropped while
// waiting, the pool keeps no more than it was told, and work on a reused stack runs as on a
// fresh one (including unwinding a fiber dropped mid-wait).
#include "web/fiber_stacks.h"

#include <gtest/gtest.h>

#include <memory>
#include <numeric>
#include <vector>

#include "web/ui_fiber.h"

namespace cn::web {
namespace {

struct Witness {
  bool* unwound;
  ~Witness() { *unwound = true; }
};

TEST(FiberStacks, StacksReturnWhenFibersEndAndThePoolKeepsOnlyItsLimit) {
  auto pool = std::make_shared<FiberStacks>(2);
  int sum = 0;
  for (int round = 0; round < 3; ++round) {
    UiFiber fiber([&] {
      std::vector<int> numbers(1000);
      std::iota(numbers.begin(), numbers.end(), round);
      sum += std::accumulate(numbers.begin(), numbers.end(), 0);
    }, pool);
    EXPECT_TRUE(fiber.Resume());
  }
  EXPECT_EQ(sum, 499500 * 3 + 1000 * 3);
  EXPECT_EQ(pool->Kept(), 1u);  // one stack served all three, one after the other

  bool unwound[3] = {false, false, false};
  {
    std::vector<std::unique_ptr<UiFiber>> waiting(3);
    for (std::size_t i = 0; i < waiting.size(); ++i) {
      waiting[i] = std::make_unique<UiFiber>([&waiting, &unwound, i] {
        Witness witness{&unwound[i]};
        waiting[i]->Suspend();
      }, pool);
      EXPECT_FALSE(waiting[i]->Resume());
    }
    EXPECT_EQ(pool->Kept(), 0u);  // all three stacks are in use by waiting fibers
  }
  for (const bool flag : unwound) EXPECT_TRUE(flag);  // dropped fibers unwind their frames
  EXPECT_EQ(pool->Kept(), 2u);
}

}  // namespace
}  // namespace cn::web
