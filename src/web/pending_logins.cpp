#include "web/pending_logins.h"

#include <algorithm>

#include "web/session_store.h"

namespace cn::web {

std::optional<LoginStep> NextLoginStep(const Account& account, std::optional<LoginStep> done) {
  const int after = done ? static_cast<int>(*done) + 1 : 0;
  if (after <= static_cast<int>(LoginStep::kCode) && account.has_second_factor)
    return LoginStep::kCode;
  if (after <= static_cast<int>(LoginStep::kPassword) && account.must_change_password)
    return LoginStep::kPassword;
  if (after <= static_cast<int>(LoginStep::kEnrol) && account.must_enrol && !account.has_second_factor)
    return LoginStep::kEnrol;
  return std::nullopt;
}

std::string PendingLogins::Add(PendingLogin login, Clock::time_point now) {
  const std::lock_guard lock(mutex_);
  std::erase_if(slots_, [now](const auto& slot) { return slot.second.expires <= now; });
  if (slots_.size() >= most_) {
    const auto oldest = std::min_element(slots_.begin(), slots_.end(), [](const auto& a, const auto& b) {
      return a.second.expires < b.second.expires;
    });
    slots_.erase(oldest);
  }
  std::string token = RandomToken();
  slots_.emplace(token, Slot{std::move(login), now + lasts_});
  return token;
}

std::optional<PendingLogin> PendingLogins::Find(std::string_view token,
                                                Clock::time_point now) const {
  const std::lock_guard lock(mutex_);
  const auto it = slots_.find(token);
  if (it == slots_.end() || it->second.expires <= now) return std::nullopt;
  return it->second.login;
}

void PendingLogins::Replace(std::string_view token, PendingLogin login) {
  const std::lock_guard lock(mutex_);
  const auto it = slots_.find(token);
  if (it != slots_.end()) it->second.login = std::move(login);
}

void PendingLogins::Remove(std::string_view token) {
  const std::lock_guard lock(mutex_);
  const auto it = slots_.find(token);
  if (it != slots_.end()) slots_.erase(it);
}

}  // namespace cn::web
