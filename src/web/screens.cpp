#include "web/screens.h"

#include <algorithm>

namespace cn::web {

bool IsScreenId(std::string_view id) {
  if (id.size() < 8 || id.size() > 64) return false;
  return std::all_of(id.begin(), id.end(), [](char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-';
  });
}

std::shared_ptr<Session> Screens::Find(std::string_view id, Clock::time_point now) {
  const std::lock_guard lock(mutex_);
  const auto it = slots_.find(id);
  if (it == slots_.end()) return nullptr;
  it->second.last_used = now;
  return it->second.screen;
}

Screens::Held Screens::Hold(std::string id, std::shared_ptr<Session> screen,
                            Clock::time_point now) {
  const std::lock_guard lock(mutex_);
  Held gone;
  if (const auto it = slots_.find(id); it != slots_.end()) {
    gone.push_back(std::move(it->second.screen));
    slots_.erase(it);
  }
  while (slots_.size() >= most_) {
    const auto oldest = std::min_element(
        slots_.begin(), slots_.end(),
        [](const auto& a, const auto& b) { return a.second.last_used < b.second.last_used; });
    gone.push_back(std::move(oldest->second.screen));
    slots_.erase(oldest);
  }
  slots_.emplace(std::move(id), Slot{std::move(screen), now});
  return gone;
}

Screens::Held Screens::TakeIdle(Clock::time_point before) {
  const std::lock_guard lock(mutex_);
  Held idle;
  for (auto it = slots_.begin(); it != slots_.end();) {
    if (it->second.last_used < before) {
      idle.push_back(std::move(it->second.screen));
      it = slots_.erase(it);
    } else {
      ++it;
    }
  }
  return idle;
}

Screens::Held Screens::TakeAll() {
  const std::lock_guard lock(mutex_);
  Held all;
  for (auto& [id, slot] : slots_) all.push_back(std::move(slot.screen));
  slots_.clear();
  return all;
}

std::size_t Screens::size() const {
  const std::lock_guard lock(mutex_);
  return slots_.size();
}

}  // namespace cn::web
