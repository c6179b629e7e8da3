#include "app/database_user_directory.h"

#include <chrono>
#include <string>

#include "backend/accounts.h"
#include "web/second_factor.h"
#include "web/user_name.h"

namespace cn::app {

namespace accounts = backend::accounts;

namespace {

std::string Now() { return accounts::AuditTime(std::chrono::system_clock::now()); }

}  // namespace

DatabaseUserDirectory::DatabaseUserDirectory(std::shared_ptr<components::SharedBackend> backend)
    : backend_(std::move(backend)), verifier_(web::HashCost::kInteractive) {}

template <typename Work>
auto DatabaseUserDirectory::InTransaction(bool writes, Work&& work) const {
  return backend_->WithDatabase([&](backend::Database& db) {
    // In a transaction, as a command is: a database file deleted or replaced fails it.
    backend::Transaction transaction(
        db, writes ? backend::Transaction::Kind::kImmediate : backend::Transaction::Kind::kDeferred);
    auto result = work(db);
    transaction.Commit();
    return result;
  });
}

std::optional<web::Account> DatabaseUserDirectory::Authenticate(std::string_view user,
                                                                std::string_view password) const {
  const auto user_id = web::CanonicalUserName(user);
  const auto stored = InTransaction(false, [&](backend::Database& db) {
    return user_id ? accounts::Find(db, *user_id) : std::nullopt;
  });
  const bool may_log_in = stored && stored->password_hash && !stored->disabled &&
                          !stored->agent_type.empty();
  // The slow, memory-hard check runs after the store is free again for other sessions, and
  // runs for unknown users too.
  std::optional<std::string> hash;
  if (may_log_in) hash = stored->password_hash;
  if (!verifier_.Matches(hash, password)) return std::nullopt;
  web::Account account;
  account.identity = {stored->user_id, stored->agent_code, stored->agent_type, stored->role};
  account.must_change_password = stored->must_change_password;
  account.has_second_factor = stored->totp_confirmed;
  account.must_enrol = stored->require_mfa && !stored->totp_confirmed;
  return account;
}

bool DatabaseUserDirectory::CheckCode(std::string_view user, std::string_view code,
                                      bool& recovery) const {
  recovery = false;
  return InTransaction(true, [&](backend::Database& db) {
    const auto account = accounts::Find(db, user);
    if (!account || !account->totp_confirmed || !account->totp_secret || account->disabled)
      return false;
    if (web::LooksLikeTotpCode(code)) {
      const auto step = web::TotpStep(*account->totp_secret, code, std::chrono::system_clock::now());
      return step && accounts::TakeTotpStep(db, user, *step);
    }
    const std::string hash = web::RecoveryCodeHash(code);
    recovery = !hash.empty() && accounts::UseRecoveryCode(db, user, hash, Now());
    return recovery;
  });
}

void DatabaseUserDirectory::ChangePassword(std::string_view user,
                                           std::string_view password) const {
  const std::string hash = web::HashPassword(password, web::HashCost::kInteractive);
  InTransaction(true, [&](backend::Database& db) {
    accounts::SetPassword(db, user, hash, /*by_user=*/true);
    return true;
  });
}

std::optional<std::string> DatabaseUserDirectory::BeginEnrolment(std::string_view user) const {
  return InTransaction(true, [&](backend::Database& db) -> std::optional<std::string> {
    const auto account = accounts::Find(db, user);
    if (!account || account->totp_confirmed) return std::nullopt;
    std::string secret = web::NewTotpSecret();
    accounts::BeginTotp(db, user, secret);
    return secret;
  });
}

std::optional<std::string> DatabaseUserDirectory::PendingEnrolment(std::string_view user) const {
  return InTransaction(false, [&](backend::Database& db) -> std::optional<std::string> {
    const auto account = accounts::Find(db, user);
    if (!account || account->totp_confirmed) return std::nullopt;
    return account->totp_secret;
  });
}

std::optional<std::vector<std::string>> DatabaseUserDirectory::ConfirmEnrolment(
    std::string_view user, std::string_view code) const {
  return InTransaction(true, [&](backend::Database& db) -> std::optional<std::vector<std::string>> {
    const auto account = accounts::Find(db, user);
    if (!account || account->totp_confirmed || !account->totp_secret) return std::nullopt;
    const auto step = web::TotpStep(*account->totp_secret, code, std::chrono::system_clock::now());
    if (!step) return std::nullopt;
    std::vector<std::string> codes = web::NewRecoveryCodes();
    std::vector<std::string> hashes;
    for (const std::string& one : codes) hashes.push_back(web::RecoveryCodeHash(one));
    accounts::ConfirmTotp(db, user, *step, hashes);
    return codes;
  });
}

web::SecondFactor DatabaseUserDirectory::SecondFactorOf(std::string_view user) const {
  return InTransaction(false, [&](backend::Database& db) {
    const auto account = accounts::Find(db, user);
    if (!account) return web::SecondFactor{};
    return web::SecondFactor{account->totp_confirmed, account->require_mfa,
                             accounts::RecoveryCodesLeft(db, user)};
  });
}

void DatabaseUserDirectory::Record(const web::AccountEvent& event) const {
  InTransaction(true, [&](backend::Database& db) {
    const std::string at = Now();
    // A name nobody has is kept short: guessers choose it.
    const std::string user = event.user.substr(0, 64);
    accounts::Record(db, {at, user, event.event, event.detail, event.address, user});
    if (event.event == "login") accounts::NoteLogin(db, user, at);
    return true;
  });
}

}  // namespace cn::app
