#pragma once
// Slows down password guessing: each account and each client address has its count of
// failed logins. Past a few free failures every further attempt must wait a delay that
// doubles with each failure; past more, the account or address is locked for a while. A
// successful login clears its account's count (not the address's: one known password must
// not let an address go on guessing the others).

#include <chrono>
#include <cstddef>
#include <map>
#include <mutex>
#include <string>
#include <string_view>

namespace cn::web {

struct ThrottleLimits {
  using Duration = std::chrono::steady_clock::duration;
  int free_failures_per_user = 3;
  int locking_failures_per_user = 10;
  int free_failures_per_address = 10;
  int locking_failures_per_address = 30;
  Duration first_delay = std::chrono::seconds(1);  // doubles with each further failure
  Duration most_delay = std::chrono::minutes(1);
  Duration lockout = std::chrono::minutes(15);
  Duration forget_after = std::chrono::hours(1);  // failures this old no longer count
  std::size_t most_tracked = 100000;              // accounts and addresses kept, each
};

class LoginThrottle {
 public:
  using Clock = std::chrono::steady_clock;

  enum class Verdict { kTry, kWait, kLocked };
  struct Decision {
    Verdict verdict = Verdict::kTry;
    Clock::duration wait{};  // until the next attempt may be made
  };
  // What happened to a failed attempt, for the log.
  struct Failure {
    int user_failures = 0;
    int address_failures = 0;
    bool user_locked = false;     // by this failure
    bool address_locked = false;  // by this failure
  };

  explicit LoginThrottle(ThrottleLimits limits) : limits_(limits) {}

  // Whether a login for `user` from `address` may be checked now.
  Decision Check(std::string_view user, std::string_view address, Clock::time_point now);
  Failure Failed(std::string_view user, std::string_view address, Clock::time_point now);
  void Succeeded(std::string_view user);

 private:
  struct Record {
    int failures = 0;
    Clock::time_point last_failure;
    Clock::time_point locked_until;
  };
  struct Rule {
    int free_failures;
    int locking_failures;
  };
  using Records = std::map<std::string, Record, std::less<>>;

  bool Stale(const Record& record, Clock::time_point now) const;
  Decision Judge(const Records& records, std::string_view key, Rule rule,
                 Clock::time_point now) const;
  bool Count(Records& records, std::string_view key, Rule rule, Clock::time_point now);
  void Forget(Records& records, Clock::time_point now);

  ThrottleLimits limits_;
  std::mutex mutex_;
  Records users_;
  Records addresses_;
};

// User names are matched without regard to case or surrounding blanks, as the directory does.
std::string ThrottleKey(std::string_view user);

}  // namespace cn::web
