#include "web/login_throttle.h"

#include <algorithm>

namespace cn::web {
namespace {

std::string UserKey(const LoginAttempt& attempt) { return "user " + attempt.user; }
std::string DeviceKey(const LoginAttempt& attempt) { return "device " + attempt.device; }
std::string AddressKey(const LoginAttempt& attempt) { return "address " + attempt.address; }

// The harder of two answers: a lockout before a delay, the longer wait of two alike.
LoginThrottle::Decision Harder(const LoginThrottle::Decision& a, const LoginThrottle::Decision& b) {
  if (a.verdict != b.verdict) return a.verdict > b.verdict ? a : b;
  return a.wait >= b.wait ? a : b;
}

}  // namespace

LoginThrottle::Decision LoginThrottle::Judge(std::string_view key, ThrottleLimits::Rule rule,
                                             Clock::time_point now) const {
  const FailureCount count = counts_->Read(key);
  if (count.locked_until > now) return {Verdict::kLocked, count.locked_until - now};
  if (count.failures <= rule.free_failures || now - count.last_failure >= limits_.forget_after)
    return {};
  Clock::duration delay = limits_.first_delay;
  for (int i = rule.free_failures + 1; i < count.failures && delay < limits_.most_delay; ++i)
    delay *= 2;
  const auto allowed_at = count.last_failure + std::min(delay, limits_.most_delay);
  if (allowed_at > now) return {Verdict::kWait, allowed_at - now};
  return {};
}

LoginThrottle::Decision LoginThrottle::Check(const LoginAttempt& attempt,
                                             Clock::time_point now) const {
  if (!attempt.device.empty()) {
    Decision by_device = Judge(DeviceKey(attempt), limits_.per_device, now);
    by_device.trusted = true;
    if (by_device.verdict != Verdict::kLocked) return by_device;
  }
  return Harder(Judge(UserKey(attempt), limits_.untrusted_per_user, now),
                Judge(AddressKey(attempt), limits_.per_address, now));
}

FailureCount LoginThrottle::Count(std::string_view key, ThrottleLimits::Rule rule,
                                  Clock::time_point now) {
  return counts_->Change(key, now, [&](FailureCount& count) {
    const bool stale =
        count.locked_until <= now && now - count.last_failure >= limits_.forget_after;
    if (stale) count = FailureCount{};
    ++count.failures;
    count.last_failure = now;
    if (count.failures < rule.locking_failures) return;
    // After the lockout, guessing starts again from the first delay, not from the free tries.
    count.locked_until = now + limits_.lockout;
    count.failures = rule.free_failures + 1;
  });
}

LoginThrottle::Failure LoginThrottle::Failed(const LoginAttempt& attempt, bool trusted,
                                             Clock::time_point now) {
  const auto counted = [&](std::string_view key, ThrottleLimits::Rule rule, int& failures,
                           bool& locked) {
    const FailureCount count = Count(key, rule, now);
    locked = count.locked_until == now + limits_.lockout;
    failures = locked ? rule.locking_failures : count.failures;
  };
  Failure failure;
  if (trusted) {
    counted(DeviceKey(attempt), limits_.per_device, failure.failures, failure.locked);
    return failure;
  }
  counted(UserKey(attempt), limits_.untrusted_per_user, failure.failures, failure.locked);
  counted(AddressKey(attempt), limits_.per_address, failure.address_failures,
          failure.address_locked);
  return failure;
}

// A login clears its own device's count; the strangers' count of the user stays, so that one
// right password does not let the guessing go on from the start.
void LoginThrottle::Succeeded(const LoginAttempt& attempt, bool trusted) {
  if (trusted) counts_->Clear(DeviceKey(attempt));
}

void LoginThrottle::Forget(std::string_view user) { counts_->Clear("user " + std::string(user)); }

}  // namespace cn::web
