#pragma once
// Who may log in: a user name and password give the identity the session's screen runs as, and
// say what must come first: a code of his second factor, a password of his own, the enrolment
// of a second factor. The directory keeps each account's password, second factor (a TOTP
// secret and one-time recovery codes) and audit trail.
//
// Every method may be slow (a memory-hard hash, the store) and is called off the I/O threads;
// each must be safe to call from several threads at once. A store that fails throws. A
// directory that keeps no second factor, passwords of users' choosing or trail need only
// authenticate: the rest refuses or does nothing by default.

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace cn::web {

inline constexpr std::string_view kRoleAmend = "amend";
inline constexpr std::string_view kRoleEnquire = "enquire";

// The logged-in administrator as the screen sees him: the registry's user values, and his role.
struct Identity {
  std::string user_id;
  std::string agent_code;
  std::string agent_type;
  std::string role = std::string(kRoleAmend);  // "amend", or "enquire": reads only
  bool MayAmend() const { return role == kRoleAmend; }
  bool operator==(const Identity&) const = default;
};

// A right password: the identity, and what stands between it and a session.
struct Account {
  Identity identity;
  bool must_change_password = false;  // set by someone else, or never chosen under the rules
  bool has_second_factor = false;     // a code must follow the password
  bool must_enrol = false;            // a second factor is required and not yet enrolled
};

// The state of a user's second factor, as his screen shows it.
struct SecondFactor {
  bool enrolled = false;
  bool required = false;
  int recovery_codes_left = 0;
};

// What an account saw happen, for the audit trail: "login", "login failed", "locked", "code
// failed", "recovery code used", "password changed", "mfa enrolled".
struct AccountEvent {
  std::string user;  // canonical name (web/user_name.h), known or not
  std::string event;
  std::string address;
  std::string detail;
};

class UserDirectory {
 public:
  virtual ~UserDirectory() = default;
  // The account of the user (his canonical name, web/user_name.h) when the password is his
  // and he may log in; nothing otherwise (unknown users, wrong passwords and disabled accounts
  // look the same).
  virtual std::optional<Account> Authenticate(std::string_view user,
                                              std::string_view password) const = 0;
  // True when `code` is the current TOTP code of the user's confirmed second factor (a time
  // step taken once: the same code is refused the second time), or one of his unused recovery
  // codes, which is then used up. `recovery`: set when a recovery code was taken.
  virtual bool CheckCode(std::string_view /*user*/, std::string_view /*code*/,
                         bool& recovery) const {
    recovery = false;
    return false;
  }
  // Sets the user's password to one he chose (already judged by the rules): the forced change,
  // if any, is done.
  virtual void ChangePassword(std::string_view /*user*/, std::string_view /*password*/) const {
    throw std::runtime_error("this directory keeps no passwords of users' choosing");
  }
  // A new TOTP secret (base32) waiting for its first code, replacing one not yet confirmed;
  // nothing when the user has a confirmed one.
  virtual std::optional<std::string> BeginEnrolment(std::string_view /*user*/) const {
    return {};
  }
  // The secret waiting for its first code; nothing when none waits.
  virtual std::optional<std::string> PendingEnrolment(std::string_view /*user*/) const {
    return {};
  }
  // Confirms the waiting secret with a code of it: the ten recovery codes, shown once and kept
  // only hashed; nothing when the code is not right.
  virtual std::optional<std::vector<std::string>> ConfirmEnrolment(
      std::string_view /*user*/, std::string_view /*code*/) const {
    return {};
  }
  virtual SecondFactor SecondFactorOf(std::string_view /*user*/) const { return {}; }
  // Notes an event in the account's audit trail.
  virtual void Record(const AccountEvent& /*event*/) const {}
};

}  // namespace cn::web
