#include "web/memory_user_directory.h"

#include <chrono>

#include "web/second_factor.h"
#include "web/user_name.h"

namespace cn::web {

MemoryUserDirectory::MemoryUserDirectory(HashCost cost) : cost_(cost), verifier_(cost) {}

void MemoryUserDirectory::Add(std::string_view user, std::string_view password, Identity identity,
                              Options options) {
  const std::lock_guard lock(mutex_);
  Entry entry;
  entry.password_hash = HashPassword(password, cost_);
  entry.identity = std::move(identity);
  entry.options = options;
  users_.insert_or_assign(CanonicalUserName(user).value_or(std::string(user)), std::move(entry));
}

std::optional<std::string> MemoryUserDirectory::SecretOf(std::string_view user) const {
  const std::lock_guard lock(mutex_);
  const auto it = users_.find(user);
  if (it == users_.end() || !it->second.confirmed) return std::nullopt;
  return it->second.secret;
}

std::vector<AccountEvent> MemoryUserDirectory::Events() const {
  const std::lock_guard lock(mutex_);
  return events_;
}

std::optional<Account> MemoryUserDirectory::Authenticate(std::string_view user,
                                                         std::string_view password) const {
  std::optional<std::string> stored;
  std::optional<Account> account;
  {
    const std::lock_guard lock(mutex_);
    const auto it = users_.find(user);
    if (it != users_.end()) {
      const Entry& entry = it->second;
      stored = entry.password_hash;
      account = Account{entry.identity, entry.options.must_change_password, entry.confirmed,
                        entry.options.require_mfa && !entry.confirmed};
    }
  }
  if (!verifier_.Matches(stored, password)) return std::nullopt;
  return account;
}

bool MemoryUserDirectory::CheckCode(std::string_view user, std::string_view code,
                                    bool& recovery) const {
  recovery = false;
  const std::lock_guard lock(mutex_);
  const auto it = users_.find(user);
  if (it == users_.end() || !it->second.confirmed || !it->second.secret) return false;
  Entry& entry = it->second;
  if (const auto step = TotpStep(*entry.secret, code, std::chrono::system_clock::now())) {
    if (*step <= entry.last_step) return false;
    entry.last_step = *step;
    return true;
  }
  const auto hash = entry.recovery.find(RecoveryCodeHash(code));
  if (hash == entry.recovery.end() || hash->second) return false;
  hash->second = true;
  recovery = true;
  return true;
}

void MemoryUserDirectory::ChangePassword(std::string_view user, std::string_view password) const {
  std::string hash = HashPassword(password, cost_);
  const std::lock_guard lock(mutex_);
  const auto it = users_.find(user);
  if (it == users_.end()) return;
  it->second.password_hash = std::move(hash);
  it->second.options.must_change_password = false;
}

std::optional<std::string> MemoryUserDirectory::BeginEnrolment(std::string_view user) const {
  const std::lock_guard lock(mutex_);
  const auto it = users_.find(user);
  if (it == users_.end() || it->second.confirmed) return std::nullopt;
  it->second.secret = NewTotpSecret();
  return it->second.secret;
}

std::optional<std::string> MemoryUserDirectory::PendingEnrolment(std::string_view user) const {
  const std::lock_guard lock(mutex_);
  const auto it = users_.find(user);
  if (it == users_.end() || it->second.confirmed) return std::nullopt;
  return it->second.secret;
}

std::optional<std::vector<std::string>> MemoryUserDirectory::ConfirmEnrolment(
    std::string_view user, std::string_view code) const {
  const std::lock_guard lock(mutex_);
  const auto it = users_.find(user);
  if (it == users_.end() || it->second.confirmed || !it->second.secret) return std::nullopt;
  Entry& entry = it->second;
  const auto step = TotpStep(*entry.secret, code, std::chrono::system_clock::now());
  if (!step) return std::nullopt;
  std::vector<std::string> codes = NewRecoveryCodes();
  entry.recovery.clear();
  for (const std::string& one : codes) entry.recovery[RecoveryCodeHash(one)] = false;
  entry.confirmed = true;
  entry.last_step = *step;
  entry.options.require_mfa = false;
  return codes;
}

SecondFactor MemoryUserDirectory::SecondFactorOf(std::string_view user) const {
  const std::lock_guard lock(mutex_);
  const auto it = users_.find(user);
  if (it == users_.end()) return {};
  int left = 0;
  for (const auto& [hash, used] : it->second.recovery) left += used ? 0 : 1;
  return {it->second.confirmed, it->second.options.require_mfa, left};
}

void MemoryUserDirectory::Record(const AccountEvent& event) const {
  const std::lock_guard lock(mutex_);
  // The newest few thousand, so that a load test's logins do not grow the memory without end.
  if (events_.size() >= 4096) events_.erase(events_.begin(), events_.begin() + 2048);
  events_.push_back(event);
}

}  // namespace cn::web
