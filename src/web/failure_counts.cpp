#include "web/failure_counts.h"

#include <algorithm>

namespace cn::web {

FailureCount MemoryFailureCounts::Read(std::string_view key) {
  const std::lock_guard lock(mutex_);
  const auto it = counts_.find(key);
  return it == counts_.end() ? FailureCount{} : it->second;
}

FailureCount MemoryFailureCounts::Change(std::string_view key, Clock::time_point now,
                                         const std::function<void(FailureCount&)>& change) {
  const std::lock_guard lock(mutex_);
  auto it = counts_.find(key);
  if (it == counts_.end()) {
    if (counts_.size() >= most_kept_) MakeRoom(now);
    it = counts_.emplace(std::string(key), FailureCount{}).first;
  }
  change(it->second);
  return it->second;
}

void MemoryFailureCounts::Clear(std::string_view key) {
  const std::lock_guard lock(mutex_);
  const auto it = counts_.find(key);
  if (it != counts_.end()) counts_.erase(it);
}

void MemoryFailureCounts::MakeRoom(Clock::time_point now) {
  std::erase_if(counts_, [&](const auto& item) {
    return item.second.locked_until <= now && now - item.second.last_failure >= forget_after_;
  });
  if (counts_.empty() || counts_.size() < most_kept_) return;
  counts_.erase(std::min_element(counts_.begin(), counts_.end(), [](const auto& a, const auto& b) {
    return a.second.last_failure < b.second.last_failure;
  }));
}

}  // namespace cn::web
