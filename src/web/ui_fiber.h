#pragma once
// A piece of UI work on its own stack, so that a handler waiting for the administrator's
// answer (a message box, a modal dialog) holds no OS thread: the wait suspends the fiber and
// the thread goes back to serving requests; the answer resumes it.
//
// A fiber is resumed only on the thread that started it (a session moves to another I/O
// thread only while no fiber of its is suspended). Dropping a suspended fiber unwinds its stack.

#include <exception>
#include <functional>
#include <memory>

#include <boost/context/fiber.hpp>

#include "web/fiber_stacks.h"

namespace cn::web {

class UiFiber {
 public:
  UiFiber(std::function<void()> work, std::shared_ptr<FiberStacks> stacks);
  UiFiber(const UiFiber&) = delete;
  UiFiber& operator=(const UiFiber&) = delete;
  ~UiFiber();

  // Runs the work until it finishes or suspends; returns true when it has finished. A failure
  // escaping the work is thrown here, once.
  bool Resume();
  // Inside the work: gives control back to whoever called Resume.
  void Suspend();
  bool Finished() const { return finished_; }
  bool Running() const { return running_; }

 private:
  std::function<void()> work_;
  boost::context::fiber fiber_;   // the work, while it is suspended or not started
  boost::context::fiber caller_;  // whoever resumed the work, while it runs
  std::exception_ptr failure_;
  bool finished_ = false;
  bool running_ = false;
};

}  // namespace cn::web
