#pragma once
// Slows down password guessing without letting a guesser lock the real user out, as device
// cookies do it: a browser that has logged in as a user before carries a token of his
// (web/device_tokens.h) and is judged by its own failures alone, with a stricter limit per
// device; every other client trying that user shares one count, and each client address has
// its own. Past a few free failures every further attempt waits a delay that doubles; past
// more, what the count covers is locked out for a while. A guesser thus locks out the
// strangers to an account, never the account holder's own browsers; a device locked by its
// failures is a stranger again.

#include <chrono>
#include <cstddef>
#include <memory>
#include <string>

#include "web/failure_counts.h"

namespace cn::web {

struct ThrottleLimits {
  using Duration = std::chrono::system_clock::duration;
  struct Rule {
    int free_failures;
    int locking_failures;
  };
  Rule untrusted_per_user{3, 10};  // clients without the user's token, together
  Rule per_device{2, 5};           // each of the user's own browsers
  Rule per_address{10, 30};        // each client address, for clients without a token
  Duration first_delay = std::chrono::seconds(1);  // doubles with each further failure
  Duration most_delay = std::chrono::minutes(1);
  Duration lockout = std::chrono::minutes(15);
  Duration forget_after = std::chrono::hours(1);  // failures this old no longer count
  std::size_t most_tracked = 300000;              // counts kept in memory
};

// One login attempt as the throttle sees it.
struct LoginAttempt {
  std::string user;     // its canonical name (web/user_name.h)
  std::string address;  // the client's
  std::string device;   // the id of the user's token the browser carries; "" when none
};

class LoginThrottle {
 public:
  using Clock = FailureCounts::Clock;

  enum class Verdict { kTry, kWait, kLocked };
  struct Decision {
    Verdict verdict = Verdict::kTry;
    Clock::duration wait{};  // until the next attempt may be made
    bool trusted = false;    // judged as the user's own device
  };
  // What a failed attempt did, for the log: the failures now counted against the device (or
  // the untrusted clients of the user) and the address, and whether this one locked them.
  struct Failure {
    int failures = 0;
    int address_failures = 0;
    bool locked = false;
    bool address_locked = false;
  };

  LoginThrottle(ThrottleLimits limits, std::shared_ptr<FailureCounts> counts)
      : limits_(limits), counts_(std::move(counts)) {}

  // Whether the attempt may be checked now, and whether it counts as the user's own device.
  Decision Check(const LoginAttempt& attempt, Clock::time_point now) const;
  // `trusted`: as Check said.
  Failure Failed(const LoginAttempt& attempt, bool trusted, Clock::time_point now);
  void Succeeded(const LoginAttempt& attempt, bool trusted);
  // Forgets the failures of browsers not his at the user's name (an operator unlocked him).
  void Forget(std::string_view user);

 private:
  Decision Judge(std::string_view key, ThrottleLimits::Rule rule, Clock::time_point now) const;
  FailureCount Count(std::string_view key, ThrottleLimits::Rule rule, Clock::time_point now);

  ThrottleLimits limits_;
  std::shared_ptr<FailureCounts> counts_;
};

}  // namespace cn::web
