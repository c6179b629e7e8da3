#include "web/login_throttle.h"

#include <algorithm>
#include <cctype>

namespace cn::web {

std::string ThrottleKey(std::string_view user) {
  while (!user.empty() && std::isspace(static_cast<unsigned char>(user.front())))
    user.remove_prefix(1);
  while (!user.empty() && std::isspace(static_cast<unsigned char>(user.back())))
    user.remove_suffix(1);
  std::string key(user);
  for (char& c : key) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return key;
}

bool LoginThrottle::Stale(const Record& record, Clock::time_point now) const {
  return record.locked_until <= now && now - record.last_failure >= limits_.forget_after;
}

LoginThrottle::Decision LoginThrottle::Judge(const Records& records, std::string_view key,
                                             Rule rule, Clock::time_point now) const {
  const auto it = records.find(key);
  if (it == records.end()) return {};
  const Record& record = it->second;
  if (record.locked_until > now) return {Verdict::kLocked, record.locked_until - now};
  if (record.failures <= rule.free_failures || Stale(record, now)) return {};
  Clock::duration delay = limits_.first_delay;
  for (int i = rule.free_failures + 1; i < record.failures && delay < limits_.most_delay; ++i)
    delay *= 2;
  delay = std::min(delay, limits_.most_delay);
  const auto allowed_at = record.last_failure + delay;
  if (allowed_at > now) return {Verdict::kWait, allowed_at - now};
  return {};
}

LoginThrottle::Decision LoginThrottle::Check(std::string_view user, std::string_view address,
                                             Clock::time_point now) {
  const std::lock_guard lock(mutex_);
  const Decision by_user =
      Judge(users_, ThrottleKey(user),
            {limits_.free_failures_per_user, limits_.locking_failures_per_user}, now);
  const Decision by_address =
      Judge(addresses_, address,
            {limits_.free_failures_per_address, limits_.locking_failures_per_address}, now);
  // The harder of the two answers: a lockout before a delay, the longer wait of two delays.
  if (by_user.verdict != by_address.verdict)
    return by_user.verdict > by_address.verdict ? by_user : by_address;
  return by_user.wait >= by_address.wait ? by_user : by_address;
}

bool LoginThrottle::Count(Records& records, std::string_view key, Rule rule,
                          Clock::time_point now) {
  auto it = records.find(key);
  if (it == records.end()) {
    if (records.size() >= limits_.most_tracked) Forget(records, now);
    it = records.emplace(std::string(key), Record{}).first;
  }
  Record& record = it->second;
  if (Stale(record, now)) record = Record{};
  ++record.failures;
  record.last_failure = now;
  if (record.failures < rule.locking_failures) return false;
  // After the lockout, guessing starts again from the first delay, not from the free tries.
  record.locked_until = now + limits_.lockout;
  record.failures = rule.free_failures + 1;
  return true;
}

LoginThrottle::Failure LoginThrottle::Failed(std::string_view user, std::string_view address,
                                             Clock::time_point now) {
  const std::lock_guard lock(mutex_);
  const std::string key = ThrottleKey(user);
  Failure failure;
  failure.user_locked =
      Count(users_, key, {limits_.free_failures_per_user, limits_.locking_failures_per_user}, now);
  failure.address_locked =
      Count(addresses_, address,
            {limits_.free_failures_per_address, limits_.locking_failures_per_address}, now);
  failure.user_failures =
      failure.user_locked ? limits_.locking_failures_per_user : users_.at(key).failures;
  failure.address_failures = failure.address_locked ? limits_.locking_failures_per_address
                                                    : addresses_.at(std::string(address)).failures;
  return failure;
}

void LoginThrottle::Succeeded(std::string_view user) {
  const std::lock_guard lock(mutex_);
  const auto it = users_.find(ThrottleKey(user));
  if (it != users_.end()) users_.erase(it);
}

// Drops what no longer counts; when everything still counts, the oldest failures go, so that
// a flood of made-up names cannot grow the memory without end.
void LoginThrottle::Forget(Records& records, Clock::time_point now) {
  std::erase_if(records, [&](const auto& item) { return Stale(item.second, now); });
  if (records.size() < limits_.most_tracked) return;
  auto oldest = std::min_element(records.begin(), records.end(), [](const auto& a, const auto& b) {
    return a.second.last_failure < b.second.last_failure;
  });
  records.erase(oldest);
}

}  // namespace cn::web
