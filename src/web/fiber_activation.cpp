// The one piece of Boost.Context's ucontext switching (the sanitizer builds') that lives in its
// library rather than its headers: each thread's record of the context running on it. Debian
// builds the library for the other (assembler) switching, so the UI fibers supply it here;
// everything else of the ucontext switching is in the headers.

#include <memory>

#include <boost/context/fiber.hpp>

namespace boost::context::detail {

fiber_activation_record*& fiber_activation_record::current() noexcept {
  // The thread's own context comes first; fibers started on the thread take its place in turn.
  thread_local const auto thread_record = std::make_unique<fiber_activation_record>();
  thread_local fiber_activation_record* running = thread_record.get();
  return running;
}

}  // namespace boost::context::detail
