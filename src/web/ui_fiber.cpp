#include "web/ui_fiber.h"

#include <memory>
#include <stdexcept>
#include <utility>

#include <boost/context/protected_fixedsize_stack.hpp>

namespace cn::web {
namespace {

// Handlers of the page logic nest a few levels deep at most; the sanitizers need far more.
#if defined(BOOST_USE_ASAN)
constexpr std::size_t kStackSize = 2 * 1024 * 1024;
#else
constexpr std::size_t kStackSize = 512 * 1024;
#endif

}  // namespace

UiFiber::UiFiber(std::function<void()> work) : work_(std::move(work)) {
  fiber_ = boost::context::fiber(
      std::allocator_arg, boost::context::protected_fixedsize_stack(kStackSize),
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
