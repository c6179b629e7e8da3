#include "backend/accounts.h"

#include <ctime>

namespace cn::backend::accounts {
namespace {

constexpr std::string_view kColumns =
    "SELECT u.user_id, u.name, coalesce(u.agent_code, ''), coalesce(a.agent_type, ''), u.role, "
    "u.password_hash, u.disabled, u.must_change_password, u.require_mfa, u.totp_secret, "
    "u.totp_confirmed, u.totp_last_step, coalesce(u.last_login_at, ''), u.revision, u.unlocks "
    "FROM app_user u LEFT JOIN agent a ON a.code = u.agent_code";

std::optional<std::string> OptionalText(Statement& row, int column) {
  if (row.IsNull(column)) return std::nullopt;
  return row.Text(column);
}

Account Read(Statement& row) {
  Account account;
  account.user_id = row.Text(0);
  account.name = row.Text(1);
  account.agent_code = row.Text(2);
  account.agent_type = row.Text(3);
  account.role = row.Text(4);
  account.password_hash = OptionalText(row, 5);
  account.disabled = row.Int(6) != 0;
  account.must_change_password = row.Int(7) != 0;
  account.require_mfa = row.Int(8) != 0;
  account.totp_secret = OptionalText(row, 9);
  account.totp_confirmed = row.Int(10) != 0;
  account.totp_last_step = row.Int(11);
  account.last_login_at = row.Text(12);
  account.revision = row.Int(13);
  account.unlocks = row.Int(14);
  return account;
}

void Run(Database& db, std::string_view sql, std::string_view user_id) {
  db.Prepare(sql).Bind(1, user_id).Run();
}

}  // namespace

bool IsRole(std::string_view role) { return role == kAmend || role == kEnquire; }

std::string AuditTime(std::chrono::system_clock::time_point when) {
  const std::time_t seconds = std::chrono::system_clock::to_time_t(when);
  std::tm utc{};
  ::gmtime_r(&seconds, &utc);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
  return text;
}

std::optional<Account> Find(Database& db, std::string_view user_id) {
  Statement& find = db.Prepare(std::string(kColumns) + " WHERE u.user_id = ?1");
  find.Bind(1, user_id);
  std::optional<Account> found;
  if (find.Step()) found = Read(find);
  find.Reset();
  return found;
}

std::vector<Account> List(Database& db) {
  Statement& all = db.Prepare(std::string(kColumns) + " ORDER BY u.user_id");
  std::vector<Account> accounts;
  while (all.Step()) accounts.push_back(Read(all));
  return accounts;
}

bool AgentExists(Database& db, std::string_view agent_code) {
  Statement& find = db.Prepare("SELECT 1 FROM agent WHERE code = ?1");
  find.Bind(1, agent_code);
  const bool found = find.Step();
  find.Reset();
  return found;
}

void Add(Database& db, std::string_view user_id, std::string_view name,
         std::string_view agent_code, std::string_view role, std::string_view password_hash,
         bool require_mfa) {
  Statement& add = db.Prepare(
      "INSERT INTO app_user (user_id, name, agent_code, authority_level, password_hash, role, "
      "must_change_password, require_mfa) VALUES (?1, ?2, ?3, 1, ?4, ?5, 1, ?6)");
  add.Bind(1, user_id).Bind(2, name).Bind(3, agent_code);
  if (password_hash.empty()) {
    add.BindNull(4);
  } else {
    add.Bind(4, password_hash);
  }
  add.Bind(5, role).Bind(6, std::int64_t{require_mfa}).Run();
}

void SetPassword(Database& db, std::string_view user_id, std::string_view password_hash,
                 bool by_user) {
  db.Prepare(
        "UPDATE app_user SET password_hash = ?2, must_change_password = ?3, "
        "revision = revision + ?4 WHERE user_id = ?1")
      .Bind(1, user_id)
      .Bind(2, password_hash)
      .Bind(3, std::int64_t{!by_user})
      .Bind(4, std::int64_t{!by_user})
      .Run();
}

void SetDisabled(Database& db, std::string_view user_id, bool disabled) {
  db.Prepare("UPDATE app_user SET disabled = ?2, revision = revision + 1 WHERE user_id = ?1")
      .Bind(1, user_id)
      .Bind(2, std::int64_t{disabled})
      .Run();
}

void SetRole(Database& db, std::string_view user_id, std::string_view role) {
  db.Prepare("UPDATE app_user SET role = ?2, revision = revision + 1 WHERE user_id = ?1")
      .Bind(1, user_id)
      .Bind(2, role)
      .Run();
}

void SetRequireMfa(Database& db, std::string_view user_id, bool require) {
  db.Prepare("UPDATE app_user SET require_mfa = ?2 WHERE user_id = ?1")
      .Bind(1, user_id)
      .Bind(2, std::int64_t{require})
      .Run();
}

void ResetMfa(Database& db, std::string_view user_id) {
  Run(db,
      "UPDATE app_user SET totp_secret = NULL, totp_confirmed = 0, totp_last_step = 0, "
      "revision = revision + 1 WHERE user_id = ?1",
      user_id);
  Run(db, "DELETE FROM recovery_code WHERE user_id = ?1", user_id);
}

void Unlock(Database& db, std::string_view user_id) {
  Run(db, "UPDATE app_user SET unlocks = unlocks + 1 WHERE user_id = ?1", user_id);
}

void NoteLogin(Database& db, std::string_view user_id, std::string_view at) {
  db.Prepare("UPDATE app_user SET last_login_at = ?2 WHERE user_id = ?1")
      .Bind(1, user_id)
      .Bind(2, at)
      .Run();
}

void BeginTotp(Database& db, std::string_view user_id, std::string_view secret) {
  db.Prepare(
        "UPDATE app_user SET totp_secret = ?2, totp_confirmed = 0, totp_last_step = 0 "
        "WHERE user_id = ?1 AND totp_confirmed = 0")
      .Bind(1, user_id)
      .Bind(2, secret)
      .Run();
}

void ConfirmTotp(Database& db, std::string_view user_id, std::int64_t step,
                 const std::vector<std::string>& recovery_hashes) {
  db.Prepare(
        "UPDATE app_user SET totp_confirmed = 1, totp_last_step = ?2, require_mfa = 0 "
        "WHERE user_id = ?1")
      .Bind(1, user_id)
      .Bind(2, step)
      .Run();
  Run(db, "DELETE FROM recovery_code WHERE user_id = ?1", user_id);
  for (const std::string& hash : recovery_hashes) {
    db.Prepare("INSERT INTO recovery_code (user_id, code_hash) VALUES (?1, ?2)")
        .Bind(1, user_id)
        .Bind(2, std::string_view(hash))
        .Run();
  }
}

bool TakeTotpStep(Database& db, std::string_view user_id, std::int64_t step) {
  Statement& last = db.Prepare("SELECT totp_last_step FROM app_user WHERE user_id = ?1");
  last.Bind(1, user_id);
  const bool fresh = last.Step() && last.Int(0) < step;
  last.Reset();
  if (!fresh) return false;
  db.Prepare("UPDATE app_user SET totp_last_step = ?2 WHERE user_id = ?1")
      .Bind(1, user_id)
      .Bind(2, step)
      .Run();
  return true;
}

bool UseRecoveryCode(Database& db, std::string_view user_id, std::string_view hash,
                     std::string_view at) {
  Statement& find = db.Prepare(
      "SELECT 1 FROM recovery_code WHERE user_id = ?1 AND code_hash = ?2 AND used_at IS NULL");
  find.Bind(1, user_id).Bind(2, hash);
  const bool unused = find.Step();
  find.Reset();
  if (!unused) return false;
  db.Prepare("UPDATE recovery_code SET used_at = ?3 WHERE user_id = ?1 AND code_hash = ?2")
      .Bind(1, user_id)
      .Bind(2, hash)
      .Bind(3, at)
      .Run();
  return true;
}

int RecoveryCodesLeft(Database& db, std::string_view user_id) {
  Statement& count =
      db.Prepare("SELECT count(*) FROM recovery_code WHERE user_id = ?1 AND used_at IS NULL");
  count.Bind(1, user_id);
  const int left = count.Step() ? static_cast<int>(count.Int(0)) : 0;
  count.Reset();
  return left;
}

void Record(Database& db, const Event& event) {
  db.Prepare(
        "INSERT INTO account_event (at, user_id, event, detail, address, actor) "
        "VALUES (?1, ?2, ?3, ?4, ?5, ?6)")
      .Bind(1, std::string_view(event.at))
      .Bind(2, std::string_view(event.user_id))
      .Bind(3, std::string_view(event.event))
      .Bind(4, std::string_view(event.detail))
      .Bind(5, std::string_view(event.address))
      .Bind(6, std::string_view(event.actor))
      .Run();
}

std::vector<Event> Events(Database& db, std::string_view user_id, std::string_view since,
                          std::int64_t most) {
  Statement& find = db.Prepare(
      "SELECT at, user_id, event, detail, address, actor FROM account_event "
      "WHERE (?1 = '' OR user_id = ?1) AND at >= ?2 ORDER BY id DESC LIMIT ?3");
  find.Bind(1, user_id).Bind(2, since).Bind(3, most);
  std::vector<Event> events;
  while (find.Step()) {
    events.push_back(
        {find.Text(0), find.Text(1), find.Text(2), find.Text(3), find.Text(4), find.Text(5)});
  }
  return {events.rbegin(), events.rend()};
}

std::vector<Marks> AllMarks(Database& db) {
  Statement& all = db.Prepare("SELECT user_id, revision, unlocks FROM app_user");
  std::vector<Marks> marks;
  while (all.Step()) marks.push_back({all.Text(0), all.Int(1), all.Int(2)});
  return marks;
}

}  // namespace cn::backend::accounts
