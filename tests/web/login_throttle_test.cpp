// Guessing slowed down without locking the account holder out: past the free failures the wait
// doubles up to its ceiling, then the count locks; strangers to an account share one count,
// each of the user's own devices has its own, stricter one, and a locked device is a stranger.
#include "web/login_throttle.h"

#include <gtest/gtest.h>

#include <string>

namespace cn::web {
namespace {

using std::chrono::seconds;

TEST(LoginThrottle, StrangersShareOneCountAndEachOwnDeviceHasItsOwn) {
  ThrottleLimits limits;
  limits.untrusted_per_user = {2, 6};
  limits.per_device = {1, 3};
  limits.most_delay = seconds(2);
  limits.lockout = seconds(60);
  LoginThrottle throttle(limits, std::make_shared<MemoryFailureCounts>(100, std::chrono::hours(1)));
  const LoginAttempt stranger{"ALICE", "192.0.2.1", ""}, desk{"ALICE", "192.0.2.9", "d1"},
      laptop{"ALICE", "192.0.2.9", "d2"};
  // {at (s), who, fails when let try}: the verdict ("*" as his own device, the wait in seconds).
  const std::tuple<int, const LoginAttempt*, bool> steps[] = {
      {0, &stranger, true},  {0, &stranger, true}, {0, &stranger, true}, {0, &stranger, true},
      {0, &desk, false},     {1, &stranger, true}, {2, &stranger, true}, {3, &stranger, true},
      {5, &stranger, true},  {6, &stranger, true}, {6, &desk, true},     {6, &desk, true},
      {6, &desk, true},      {7, &desk, true},     {7, &desk, false},    {7, &laptop, false},
      {67, &stranger, false}};
  std::string seen;
  const LoginThrottle::Clock::time_point start;
  for (const auto& [at, who, fails] : steps) {
    const auto now = start + seconds(at);
    const auto decision = throttle.Check(*who, now);
    const auto wait = std::to_string(std::chrono::ceil<seconds>(decision.wait).count());
    seen += std::string(decision.verdict == LoginThrottle::Verdict::kTry    ? "try"
                        : decision.verdict == LoginThrottle::Verdict::kWait ? "wait " + wait
                                                                            : "locked " + wait) +
            (decision.trusted ? "* " : " ");
    if (decision.verdict != LoginThrottle::Verdict::kTry) continue;
    if (fails) throttle.Failed(*who, decision.trusted, now);
    if (!fails) throttle.Succeeded(*who, decision.trusted);
  }
  EXPECT_EQ(seen,
            "try try try wait 1 try* try wait 1 try try locked 59 try* try* wait 1* "
            "try* locked 58 try* try ");
}

}  // namespace
}  // namespace cn::web
