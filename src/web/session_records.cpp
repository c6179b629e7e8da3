#include "web/session_records.h"

#include <algorithm>

namespace cn::web {

void MemorySessionRecords::Insert(const SessionRow& row) {
  const std::lock_guard lock(mutex_);
  rows_.insert_or_assign(row.id_hash, row);
}

std::optional<SessionRow> MemorySessionRecords::Find(std::string_view id_hash) {
  const std::lock_guard lock(mutex_);
  const auto it = rows_.find(id_hash);
  if (it == rows_.end()) return std::nullopt;
  return it->second;
}

void MemorySessionRecords::Touch(std::string_view id_hash, std::int64_t last_used) {
  const std::lock_guard lock(mutex_);
  const auto it = rows_.find(id_hash);
  if (it != rows_.end()) it->second.last_used = std::max(it->second.last_used, last_used);
}

std::vector<SessionRow> MemorySessionRecords::OfUser(std::string_view user) {
  const std::lock_guard lock(mutex_);
  std::vector<SessionRow> found;
  for (const auto& [hash, row] : rows_) {
    if (row.identity.user_id == user && row.ended.empty()) found.push_back(row);
  }
  std::stable_sort(found.begin(), found.end(),
                   [](const auto& a, const auto& b) { return a.started < b.started; });
  return found;
}

void MemorySessionRecords::End(std::string_view id_hash, std::string_view how, std::int64_t at) {
  const std::lock_guard lock(mutex_);
  const auto it = rows_.find(id_hash);
  if (it == rows_.end() || !it->second.ended.empty()) return;
  it->second.ended = how;
  it->second.ended_at = at;
}

void MemorySessionRecords::Forget(std::int64_t before) {
  const std::lock_guard lock(mutex_);
  std::erase_if(rows_, [before](const auto& entry) {
    const SessionRow& row = entry.second;
    return row.ended.empty() ? row.last_used < before : row.ended_at < before;
  });
}

}  // namespace cn::web
