// Password guessing slowed down: the wait after the free failures doubles up to its ceiling,
// and a successful login clears the account's count.
#include <gtest/gtest.h>

#include <string>

#include "web/login_throttle.h"

namespace cn::web {
namespace {

using std::chrono::seconds;

TEST(LoginThrottle, TheWaitDoublesUpToItsCeilingAndASuccessClearsTheAccount) {
  ThrottleLimits limits;
  limits.free_failures_per_user = 2;
  limits.first_delay = seconds(1);
  limits.most_delay = seconds(4);
  LoginThrottle throttle(limits);
  const LoginThrottle::Clock::time_point start;
  std::string seen;
  const auto fail = [&](int at) { throttle.Failed("alice", "192.0.2.1", start + seconds(at)); };
  const auto check = [&](int at) {
    const auto decision = throttle.Check("ALICE", "192.0.2.1", start + seconds(at));
    seen += decision.verdict == LoginThrottle::Verdict::kTry
                ? "try "
                : "wait " + std::to_string(std::chrono::duration_cast<seconds>(decision.wait).count()) + " ";
  };
  for (const int at : {0, 0, 0}) fail(at);
  check(0);
  for (const int at : {10, 20, 30}) fail(at), check(at);
  check(34);
  throttle.Succeeded(" alice");
  fail(35), check(35);
  EXPECT_EQ(seen, "wait 1 wait 2 wait 4 wait 4 try try ");
}

}  // namespace
}  // namespace cn::web
