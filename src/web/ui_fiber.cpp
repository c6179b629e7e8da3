#include "web/ui_fiber.h"

#include <memory>
#include <stdexcept>
#include <utility>

namespace cn::web {

UiFiber::UiFiber(std::function<void()> work, std::shared_ptr<FiberStacks> stacks) : work_(std::move(work)) {
  fiber_ = boost::context::fiber(
      std::allocator_arg, PooledStack(std::move(stacks)),
      [this](boost::context::fiber&& caller) {
        caller_ = std::move(caller);
        try {
          work_();
        } catch (const boost::context::detail::forced_unwind&) {
          throw;  // the fiber is being dropped: let the unwinding finish
        } catch (...) {
          failure_ = std::current_exception();
        }
        finished_ = true;
        return std::move(caller_);
      });
}

UiFiber::~UiFiber() = default;

bool UiFiber::Resume() {
  if (finished_ || running_) throw std::logic_error("A UI fiber was resumed while it could not be");
  running_ = true;
  fiber_ = std::move(fiber_).resume();
  running_ = false;
  if (failure_) std::rethrow_exception(std::exchange(failure_, nullptr));
  return finished_;
}

void UiFiber::Suspend() {
  if (!running_) throw std::logic_error("A UI fiber suspended from outside itself");
  caller_ = std::move(caller_).resume();
}

}  // namespace cn::web
