#include "backend/connection_pool.h"

#include <utility>

namespace cn::backend {

ConnectionPool::ConnectionPool(Open open, std::size_t size, std::chrono::milliseconds wait)
    : open_(std::move(open)), wait_(wait), slots_(size == 0 ? 1 : size) {
  slots_[0] = open_();
  for (std::size_t slot = slots_.size(); slot > 0; --slot) free_.push_back(slot - 1);
}

ConnectionPool::Lease ConnectionPool::Acquire() {
  std::size_t slot = 0;
  {
    std::unique_lock lock(mutex_);
    if (!freed_.wait_for(lock, wait_, [&] { return !free_.empty(); })) {
      throw StoreFailure(store_code::kTimeout, "Every database connection is busy");
    }
    slot = free_.back();
    free_.pop_back();
  }
  Lease lease(*this, slot);
  // Opened outside the lock: a slow server holds up only this command.
  if (!slots_[slot] || !slots_[slot]->IsUsable()) {
    slots_[slot].reset();
    slots_[slot] = open_();
  }
  return lease;
}

Database& ConnectionPool::First() {
  if (!slots_[0] || !slots_[0]->IsUsable()) {
    slots_[0].reset();
    slots_[0] = open_();
  }
  return *slots_[0];
}

std::size_t ConnectionPool::in_use() const {
  const std::lock_guard lock(mutex_);
  return slots_.size() - free_.size();
}

void ConnectionPool::Release(std::size_t slot) {
  {
    const std::lock_guard lock(mutex_);
    free_.push_back(slot);
  }
  freed_.notify_one();
}

}  // namespace cn::backend
