#pragma once
// Stacks for the UI fibers, kept for reuse. Every event a session handles runs on a fiber of
// its own; mapping, guarding and unmapping a fresh stack each time costs more than most
// handlers. The server keeps one pool for all its sessions: a finished fiber's stack goes
// back to the pool (up to a few, so idle sessions hold none) and the next event takes it.

#include <cstddef>
#include <memory>
#include <mutex>
#include <vector>

#include <boost/context/stack_context.hpp>

namespace cn::web {

class FiberStacks {
 public:
  // `keep`: how many free stacks to hold at most; 0 maps and unmaps every time.
  explicit FiberStacks(std::size_t keep);
  FiberStacks(const FiberStacks&) = delete;
  FiberStacks& operator=(const FiberStacks&) = delete;
  ~FiberStacks();

  boost::context::stack_context Take();
  void Give(boost::context::stack_context stack);

  std::size_t Kept() const;

 private:
  mutable std::mutex mutex_;
  std::vector<boost::context::stack_context> free_;
  std::size_t keep_;
};

// The stack allocator a fiber is made with: its stack comes from the pool and goes back to it.
class PooledStack {
 public:
  explicit PooledStack(std::shared_ptr<FiberStacks> pool) : pool_(std::move(pool)) {}
  boost::context::stack_context allocate() { return pool_->Take(); }
  void deallocate(boost::context::stack_context& stack) noexcept { pool_->Give(stack); }

 private:
  std::shared_ptr<FiberStacks> pool_;
};

}  // namespace cn::web
