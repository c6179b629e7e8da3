#include "web/fiber_stacks.h"

#include <boost/context/protected_fixedsize_stack.hpp>

#if defined(BOOST_USE_ASAN)
#include <sanitizer/asan_interface.h>
#endif

namespace cn::web {
namespace {

// Handlers of the page logic nest a few levels deep at most; the sanitizers need far more.
#if defined(BOOST_USE_ASAN)
constexpr std::size_t kStackSize = 2 * 1024 * 1024;
#else
constexpr std::size_t kStackSize = 512 * 1024;
#endif

boost::context::protected_fixedsize_stack Maker() { return boost::context::protected_fixedsize_stack(kStackSize); }

}  // namespace

FiberStacks::FiberStacks(std::size_t keep) : keep_(keep) {}

FiberStacks::~FiberStacks() {
  auto maker = Maker();
  for (auto& stack : free_) maker.deallocate(stack);
}

boost::context::stack_context FiberStacks::Take() {
  {
    const std::lock_guard lock(mutex_);
    if (!free_.empty()) {
      const boost::context::stack_context stack = free_.back();
      free_.pop_back();
      return stack;
    }
  }
  return Maker().allocate();
}

void FiberStacks::Give(boost::context::stack_context stack) {
#if defined(BOOST_USE_ASAN)
  // A fiber dropped while suspended leaves its frames' poison behind; the next one starts clean.
  __asan_unpoison_memory_region(static_cast<char*>(stack.sp) - stack.size, stack.size);
#endif
  {
    const std::lock_guard lock(mutex_);
    if (free_.size() < keep_) {
      free_.push_back(stack);
      return;
    }
  }
  Maker().deallocate(stack);
}

std::size_t FiberStacks::Kept() const {
  const std::lock_guard lock(mutex_);
  return free_.size();
}

}  // namespace cn::web
