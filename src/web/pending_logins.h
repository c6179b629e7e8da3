#pragma once
// Logins whose password was right but that have a step to take before their session opens: a
// code of the user's second factor, a password of his own, the enrolment of a second factor.
// Each is known by a random token in a short-lived cookie, lasts five minutes, and allows a few
// wrong codes; the password is never kept. Safe to use from every thread.

#include <chrono>
#include <cstddef>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "web/login_throttle.h"
#include "web/user_directory.h"

namespace cn::web {

enum class LoginStep { kCode, kPassword, kEnrol };

struct PendingLogin {
  Account account;
  LoginAttempt attempt;       // user, address and the device the browser proved
  bool trusted = false;       // as the throttle judged the browser
  std::string device_cookie;  // as the browser sent it, renewed when the session opens
  LoginStep step = LoginStep::kCode;
  std::string secret;         // the TOTP secret waiting for its first code (kEnrol)
  int wrong_codes = 0;
};

// The step after `done` (or the first, when nothing is done yet): a code when the user has a
// second factor, then his own password when he must choose one, then the enrolment of a second
// factor when it is required; nothing when the session may open.
std::optional<LoginStep> NextLoginStep(const Account& account, std::optional<LoginStep> done);

class PendingLogins {
 public:
  using Clock = std::chrono::system_clock;
  static constexpr int kMostWrongCodes = 5;

  explicit PendingLogins(Clock::duration lasts = std::chrono::minutes(5),
                         std::size_t most = 10000)
      : lasts_(lasts), most_(most) {}

  // Keeps the login under a new token (returned); the oldest goes when full.
  std::string Add(PendingLogin login, Clock::time_point now);
  // The login of that token while it lasts.
  std::optional<PendingLogin> Find(std::string_view token, Clock::time_point now) const;
  void Replace(std::string_view token, PendingLogin login);
  void Remove(std::string_view token);

 private:
  struct Slot {
    PendingLogin login;
    Clock::time_point expires;
  };
  Clock::duration lasts_;
  std::size_t most_;
  mutable std::mutex mutex_;
  std::map<std::string, Slot, std::less<>> slots_;
};

}  // namespace cn::web
