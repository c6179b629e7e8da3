#include "web/session_store.h"

#include <sodium.h>
#include <spdlog/spdlog.h>

#include <algorithm>
#include <array>
#include <stdexcept>

namespace cn::web {
namespace {

using Clock = SessionStore::Clock;

std::int64_t Millis(Clock::time_point at) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(at.time_since_epoch()).count();
}

Clock::time_point At(std::int64_t millis) {
  return Clock::time_point(
      std::chrono::duration_cast<Clock::duration>(std::chrono::milliseconds(millis)));
}

std::string Hex(const unsigned char* bytes, std::size_t size) {
  std::string hex(2 * size + 1, '\0');
  sodium_bin2hex(hex.data(), hex.size(), bytes, size);
  hex.pop_back();
  return hex;
}

}  // namespace

std::string RandomToken() {
  if (sodium_init() < 0) throw std::runtime_error("libsodium could not start");
  std::array<unsigned char, 32> bytes{};
  randombytes_buf(bytes.data(), bytes.size());
  return Hex(bytes.data(), bytes.size());
}

bool SameToken(std::string_view a, std::string_view b) {
  if (a.size() != b.size() || a.empty()) return false;
  return sodium_memcmp(a.data(), b.data(), a.size()) == 0;
}

std::string HashOfId(std::string_view id) {
  if (sodium_init() < 0) throw std::runtime_error("libsodium could not start");
  std::array<unsigned char, 32> hash{};
  crypto_generichash(hash.data(), hash.size(), reinterpret_cast<const unsigned char*>(id.data()),
                     id.size(), nullptr, 0);
  return Hex(hash.data(), hash.size());
}

SessionStore::SessionStore(SessionLimits limits, std::shared_ptr<SessionRecords> records)
    : limits_(limits),
      records_(records ? std::move(records) : std::make_shared<MemorySessionRecords>()) {}

std::string_view SessionStore::Expiry(Clock::time_point last_used, Clock::time_point ends,
                                      Clock::time_point now) const {
  if (now >= ends) return session_end::kExpired;
  if (now - last_used >= limits_.idle) return session_end::kIdle;
  return "";
}

SessionStore::Held SessionStore::Drop(std::string_view hash) {
  const auto it = slots_.find(hash);
  if (it == slots_.end()) return {};
  Held held = it->second.entry.screens->TakeAll();
  slots_.erase(it);
  return held;
}

void SessionStore::Touch(const std::string& hash, Clock::time_point now) {
  try {
    records_->Touch(hash, Millis(now));
  } catch (const std::exception& failure) {
    // Written again a minute later; until then another server may judge it idle a little early.
    spdlog::warn("A session's last use could not be written: {}", failure.what());
  }
}

SessionStore::Added SessionStore::Add(Identity identity, std::string address,
                                      Clock::time_point now) {
  Added added;
  {
    const std::lock_guard lock(mutex_);
    if (slots_.size() >= limits_.most_sessions) return added;
  }
  const std::string user = identity.user_id;
  std::vector<SessionRow> live;
  for (auto& row : records_->OfUser(user)) {
    if (Expiry(At(row.last_used), At(row.ends), now).empty()) live.push_back(std::move(row));
  }
  for (std::size_t i = 0; limits_.most_per_user > 0 && live.size() - i >= limits_.most_per_user;
       ++i) {
    records_->End(live[i].id_hash, session_end::kTooMany, Millis(now));
    const std::lock_guard lock(mutex_);
    for (auto& screen : Drop(live[i].id_hash)) added.closing.push_back(std::move(screen));
  }
  Entry entry{RandomToken(), RandomToken(), std::move(identity), std::move(address),
              std::make_shared<Screens>(limits_.most_screens)};
  const std::string hash = HashOfId(entry.id);
  std::int64_t started = Millis(now);
  {
    // Two logins in one millisecond still have an order: the older goes first past the limit.
    const std::lock_guard lock(mutex_);
    started = last_started_ = std::max(started, last_started_ + 1);
  }
  records_->Insert(SessionRow{hash, entry.csrf, entry.identity, entry.address, started, started,
                              Millis(now + limits_.absolute), "", 0});
  const std::lock_guard lock(mutex_);
  slots_.emplace(hash, Slot{entry, hash, now, now + limits_.absolute, now, now, now});
  added.entry = std::move(entry);
  return added;
}

SessionStore::Used SessionStore::Use(std::string_view id, Clock::time_point now) {
  Used used;
  if (id.empty()) return used;
  const std::string hash = HashOfId(id);
  Clock::time_point cached_use{};
  bool cached = false;
  {
    const std::lock_guard lock(mutex_);
    if (const auto it = slots_.find(hash); it != slots_.end()) {
      Slot& slot = it->second;
      cached = true;
      cached_use = slot.last_used;
      if (now - slot.checked < limits_.recheck && Expiry(slot.last_used, slot.ends, now).empty()) {
        slot.last_used = now;
        const bool write = now - slot.last_written >= limits_.touch_every;
        if (write) slot.last_written = now;
        used.entry = slot.entry;
        if (!write) return used;
      }
    }
  }
  if (used.entry) {
    Touch(hash, now);
    return used;
  }
  // Not held here, or held long enough to read again: the row says whether it still lasts.
  std::optional<SessionRow> row;
  try {
    row = records_->Find(hash);
  } catch (const std::exception& failure) {
    if (!cached) throw;
    // The store is away for a moment: the copy held here serves until it is back.
    spdlog::warn("A session's row could not be read again: {}", failure.what());
    const std::lock_guard lock(mutex_);
    const auto it = slots_.find(hash);
    if (it == slots_.end()) return used;
    it->second.last_used = now;
    used.entry = it->second.entry;
    return used;
  }
  const std::lock_guard lock(mutex_);
  const auto last_used = row ? std::max(At(row->last_used), cached_use) : cached_use;
  std::string_view ended = row ? std::string_view(row->ended) : "";
  if (row && ended.empty()) ended = Expiry(last_used, At(row->ends), now);
  if (!row || !ended.empty()) {
    used.ended = ended;
    used.closing = Drop(hash);
    return used;
  }
  auto it = slots_.find(hash);
  if (it == slots_.end()) {
    if (slots_.size() >= limits_.most_sessions) return used;
    Entry entry{std::string(id), row->csrf, row->identity, row->address,
                std::make_shared<Screens>(limits_.most_screens)};
    it = slots_
             .emplace(hash, Slot{std::move(entry), hash, At(row->started), At(row->ends), last_used,
                                 At(row->last_used), now})
             .first;
  }
  Slot& slot = it->second;
  slot.checked = now;
  slot.last_used = now;
  used.entry = slot.entry;
  if (now - slot.last_written >= limits_.touch_every) {
    slot.last_written = now;
    Touch(hash, now);
  }
  return used;
}

SessionStore::Held SessionStore::End(std::string_view id, std::string_view how,
                                     Clock::time_point now) {
  const std::string hash = HashOfId(id);
  records_->End(hash, how, Millis(now));
  const std::lock_guard lock(mutex_);
  return Drop(hash);
}

std::vector<SessionStore::Listed> SessionStore::OfUser(std::string_view user,
                                                       std::string_view current_id,
                                                       Clock::time_point now) {
  const std::string current = current_id.empty() ? "" : HashOfId(current_id);
  std::vector<Listed> listed;
  for (const auto& row : records_->OfUser(user)) {
    auto last_used = At(row.last_used);
    {
      const std::lock_guard lock(mutex_);
      if (const auto it = slots_.find(row.id_hash); it != slots_.end())
        last_used = std::max(last_used, it->second.last_used);
    }
    if (!Expiry(last_used, At(row.ends), now).empty()) continue;
    listed.push_back(Listed{row.id_hash == current, At(row.started), now - last_used, row.address});
  }
  return listed;
}

SessionStore::Ended SessionStore::EndOfUser(std::string_view user, std::string_view keep_id,
                                            std::string_view how, Clock::time_point now) {
  const std::string keep = keep_id.empty() ? "" : HashOfId(keep_id);
  Ended ended;
  for (const auto& row : records_->OfUser(user)) {
    if (row.id_hash == keep) continue;
    records_->End(row.id_hash, how, Millis(now));
    if (Expiry(At(row.last_used), At(row.ends), now).empty()) ++ended.count;
  }
  const std::lock_guard lock(mutex_);
  for (auto it = slots_.begin(); it != slots_.end();) {
    if (it->second.entry.user() == user && it->first != keep) {
      for (auto& screen : it->second.entry.screens->TakeAll())
        ended.closing.push_back(std::move(screen));
      it = slots_.erase(it);
    } else {
      ++it;
    }
  }
  return ended;
}

SessionStore::Held SessionStore::Sweep(Clock::time_point now,
                                       std::optional<Clock::time_point> evict_before) {
  Held closing;
  {
    const std::lock_guard lock(mutex_);
    for (auto it = slots_.begin(); it != slots_.end();) {
      Slot& slot = it->second;
      if (!Expiry(slot.last_used, slot.ends, now).empty()) {
        for (auto& screen : slot.entry.screens->TakeAll()) closing.push_back(std::move(screen));
        it = slots_.erase(it);
        continue;
      }
      if (evict_before) {
        for (auto& screen : slot.entry.screens->TakeIdle(*evict_before))
          closing.push_back(std::move(screen));
      }
      ++it;
    }
  }
  // Ended sessions are told to their tabs for as long as a session could have lasted.
  try {
    records_->Forget(Millis(now - limits_.absolute));
  } catch (const std::exception& failure) {
    spdlog::warn("Sessions ended long ago could not be forgotten: {}", failure.what());
  }
  return closing;
}

SessionStore::Held SessionStore::TakeAll() {
  const std::lock_guard lock(mutex_);
  Held all;
  for (auto& [hash, slot] : slots_) {
    for (auto& screen : slot.entry.screens->TakeAll()) all.push_back(std::move(screen));
  }
  slots_.clear();
  return all;
}

std::size_t SessionStore::size() const {
  const std::lock_guard lock(mutex_);
  return slots_.size();
}

std::size_t SessionStore::screens() const {
  const std::lock_guard lock(mutex_);
  std::size_t count = 0;
  for (const auto& [hash, slot] : slots_) count += slot.entry.screens->size();
  return count;
}

}  // namespace cn::web
