#pragma once
// The accounts of the people who log in, on either store: who they are, the agent they work
// for, their role, whether they may log in, their password hash, their second factor and its
// recovery codes, and the audit trail of everything that happens to an account. The web
// login (app/database_user_directory.h) and `covernote user` (app/user_command.h) both work
// through these; each call runs inside the caller's transaction.

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "backend/store.h"

namespace cn::backend::accounts {

// "amend": reads and amends (the administrator of old); "enquire": reads only.
inline constexpr std::string_view kAmend = "amend";
inline constexpr std::string_view kEnquire = "enquire";
bool IsRole(std::string_view role);

struct Account {
  std::string user_id;
  std::string name;
  std::string agent_code;  // "" when none
  std::string agent_type;  // "" when the agent is unknown
  std::string role;
  std::optional<std::string> password_hash;
  bool disabled = false;
  bool must_change_password = false;
  bool require_mfa = false;
  std::optional<std::string> totp_secret;  // base32; confirmed or waiting for its first code
  bool totp_confirmed = false;
  std::int64_t totp_last_step = 0;
  std::string last_login_at;  // "" when never
  std::int64_t revision = 0;
  std::int64_t unlocks = 0;
};

// Wall-clock time as the audit trail writes it: UTC, "2026-12-05T10:00:00Z".
std::string AuditTime(std::chrono::system_clock::time_point when);

std::optional<Account> Find(Database& db, std::string_view user_id);
// Every account, by user id.
std::vector<Account> List(Database& db);
bool AgentExists(Database& db, std::string_view agent_code);

// A new account; the password (a hash, or none) is to be changed at the first login.
void Add(Database& db, std::string_view user_id, std::string_view name,
         std::string_view agent_code, std::string_view role, std::string_view password_hash,
         bool require_mfa);
// The user's own choice (`by_user`), or one set for him: then he must change it at his next
// login, and his sessions end.
void SetPassword(Database& db, std::string_view user_id, std::string_view password_hash,
                 bool by_user);
void SetDisabled(Database& db, std::string_view user_id, bool disabled);
void SetRole(Database& db, std::string_view user_id, std::string_view role);
void SetRequireMfa(Database& db, std::string_view user_id, bool require);
// Removes the second factor and its recovery codes; the user enrols again (at his next login
// when it is required).
void ResetMfa(Database& db, std::string_view user_id);
// Servers forget the user's failed logins (they watch `unlocks`).
void Unlock(Database& db, std::string_view user_id);
void NoteLogin(Database& db, std::string_view user_id, std::string_view at);

// A new secret waiting for its first code, in place of any unconfirmed one.
void BeginTotp(Database& db, std::string_view user_id, std::string_view secret);
// The secret confirmed with the code of `step`, and the recovery codes' hashes in place of any
// before.
void ConfirmTotp(Database& db, std::string_view user_id, std::int64_t step,
                 const std::vector<std::string>& recovery_hashes);
// Takes the time step of a code once: false when that step or a later one was taken before.
bool TakeTotpStep(Database& db, std::string_view user_id, std::int64_t step);
// Marks the recovery code with that hash used; false when it is not one of the user's unused.
bool UseRecoveryCode(Database& db, std::string_view user_id, std::string_view hash,
                     std::string_view at);
int RecoveryCodesLeft(Database& db, std::string_view user_id);

struct Event {
  std::string at;  // AuditTime
  std::string user_id;
  std::string event;  // "login", "login failed", "locked", "password changed", ...
  std::string detail;
  std::string address;  // the client's, or "command line"
  std::string actor;    // who did it: the user himself, or the operator at the command line
};
void Record(Database& db, const Event& event);
// The user's events (all users' when `user_id` is empty) from `since` (an AuditTime or its
// beginning, such as "2026-12-05"), oldest first, the newest `most` of them.
std::vector<Event> Events(Database& db, std::string_view user_id, std::string_view since,
                          std::int64_t most);

// What servers watch: each account's revision and unlocks.
struct Marks {
  std::string user_id;
  std::int64_t revision = 0;
  std::int64_t unlocks = 0;
};
std::vector<Marks> AllMarks(Database& db);

}  // namespace cn::backend::accounts
