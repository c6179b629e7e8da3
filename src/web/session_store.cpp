#include "web/session_store.h"

#include <sodium.h>

#include <algorithm>
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

SessionStore::Added SessionStore::Add(std::shared_ptr<Session> session, std::string user,
                                      std::string address, Clock::time_point now) {
  const std::lock_guard lock(mutex_);
  Added added;
  // The user's sessions, oldest first; the expired ones are not counted and go too.
  std::vector<std::map<std::string, Slot, std::less<>>::iterator> own;
  for (auto it = slots_.begin(); it != slots_.end(); ++it) {
    if (it->second.entry.user == user) own.push_back(it);
  }
  std::sort(own.begin(), own.end(), [](auto a, auto b) { return a->second.created < b->second.created; });
  std::size_t live = std::count_if(own.begin(), own.end(), [&](auto it) { return !Expired(it->second, now); });
  for (auto it : own) {
    const bool expired = Expired(it->second, now);
    if (!expired && (limits_.most_per_user == 0 || live < limits_.most_per_user)) continue;
    if (!expired) --live;
    added.ended.push_back(std::move(it->second.entry));
    slots_.erase(it);
  }
  if (slots_.size() >= limits_.most_sessions) return added;
  Entry entry{RandomToken(), RandomToken(), std::move(session), std::move(user),
              std::move(address)};
  slots_.emplace(entry.id, Slot{entry, now, now, std::chrono::system_clock::now()});
  added.entry = std::move(entry);
  return added;
}

std::vector<SessionStore::Listed> SessionStore::OfUser(std::string_view user, std::string_view current_id,
                                                       Clock::time_point now) const {
  const std::lock_guard lock(mutex_);
  std::vector<std::pair<Clock::time_point, Listed>> found;
  for (const auto& [id, slot] : slots_) {
    if (slot.entry.user != user || Expired(slot, now)) continue;
    found.push_back({slot.created, Listed{id == current_id, slot.started, now - slot.last_used, slot.entry.address}});
  }
  std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<Listed> listed;
  for (auto& [created, one] : found) listed.push_back(std::move(one));
  return listed;
}

std::vector<SessionStore::Entry> SessionStore::RemoveOthers(std::string_view user, std::string_view keep_id) {
  const std::lock_guard lock(mutex_);
  std::vector<Entry> removed;
  for (auto it = slots_.begin(); it != slots_.end();) {
    if (it->second.entry.user == user && it->first != keep_id) {
      removed.push_back(std::move(it->second.entry));
      it = slots_.erase(it);
    } else {
      ++it;
    }
  }
  return removed;
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
