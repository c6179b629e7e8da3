#include "web/session_store.h"

#include <sodium.h>

#include <array>
#include <stdexcept>

namespace cn::web {

std::string RandomToken() {
  if (sodium_init() < 0) throw std::runtime_error("libsodium could not start");
  std::array<unsigned char, 32> bytes{};
  randombytes_buf(bytes.data(), bytes.size());
  std::array<char, 2 * 32 + 1> hex{};
  sodium_bin2hex(hex.data(), hex.size(), bytes.data(), bytes.size());
  return std::string(hex.data(), 2 * 32);
}

bool SameToken(std::string_view a, std::string_view b) {
  if (a.size() != b.size() || a.empty()) return false;
  return sodium_memcmp(a.data(), b.data(), a.size()) == 0;
}

bool SessionStore::Expired(const Slot& slot, Clock::time_point now) const {
  return now - slot.last_used >= limits_.idle || now - slot.created >= limits_.absolute;
}

std::optional<SessionStore::Entry> SessionStore::Add(std::shared_ptr<Session> session, std::size_t home,
                                                     Clock::time_point now) {
  const std::lock_guard lock(mutex_);
  if (slots_.size() >= limits_.most_sessions) return std::nullopt;
  Entry entry{RandomToken(), RandomToken(), std::move(session), home};
  slots_.emplace(entry.id, Slot{entry, now, now});
  return entry;
}

std::optional<SessionStore::Entry> SessionStore::Use(std::string_view id, Clock::time_point now) {
  const std::lock_guard lock(mutex_);
  const auto it = slots_.find(id);
  if (it == slots_.end() || Expired(it->second, now)) return std::nullopt;
  it->second.last_used = now;
  return it->second.entry;
}

std::optional<SessionStore::Entry> SessionStore::Remove(std::string_view id) {
  const std::lock_guard lock(mutex_);
  const auto it = slots_.find(id);
  if (it == slots_.end()) return std::nullopt;
  Entry entry = std::move(it->second.entry);
  slots_.erase(it);
  return entry;
}

std::vector<SessionStore::Entry> SessionStore::TakeExpired(Clock::time_point now) {
  const std::lock_guard lock(mutex_);
  std::vector<Entry> expired;
  for (auto it = slots_.begin(); it != slots_.end();) {
    if (Expired(it->second, now)) {
      expired.push_back(std::move(it->second.entry));
      it = slots_.erase(it);
    } else {
      ++it;
    }
  }
  return expired;
}

std::vector<SessionStore::Entry> SessionStore::TakeAll() {
  const std::lock_guard lock(mutex_);
  std::vector<Entry> all;
  for (auto& [id, slot] : slots_) all.push_back(std::move(slot.entry));
  slots_.clear();
  return all;
}

std::size_t SessionStore::size() const {
  const std::lock_guard lock(mutex_);
  return slots_.size();
}

}  // namespace cn::web
