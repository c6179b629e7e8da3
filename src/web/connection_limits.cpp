#include "web/connection_limits.h"

#include <spdlog/spdlog.h>
#include <sys/resource.h>

#include <algorithm>

namespace cn::web {

std::size_t RaiseOpenFileLimit() {
  rlimit limit{};
  if (::getrlimit(RLIMIT_NOFILE, &limit) != 0) return 1024;
  if (limit.rlim_cur < limit.rlim_max) {
    rlimit raised = limit;
    raised.rlim_cur = limit.rlim_max;
    if (::setrlimit(RLIMIT_NOFILE, &raised) == 0) {
      spdlog::info("Open files: the limit is raised from {} to {}", limit.rlim_cur,
                   raised.rlim_cur);
      limit = raised;
    }
  }
  constexpr rlim_t kPlenty = 1 << 20;
  return static_cast<std::size_t>(std::min(limit.rlim_cur, kPlenty));
}

ConnectionLimits::ConnectionLimits(std::size_t most_per_address, std::size_t most_in_all,
                                   std::vector<std::string> unlimited_addresses)
    : most_per_address_(most_per_address),
      most_in_all_(std::max<std::size_t>(most_in_all, 1)),
      unlimited_(std::move(unlimited_addresses)) {}

std::optional<ConnectionLimits::Place> ConnectionLimits::Enter(const std::string& address) {
  std::weak_ptr<IdleConnection> making_room;
  std::uint64_t id = 0;
  {
    const std::lock_guard lock(mutex_);
    const bool unlimited =
        std::find(unlimited_.begin(), unlimited_.end(), address) != unlimited_.end();
    FromAddress& from = per_address_[address];
    if (!unlimited && most_per_address_ > 0 && from.open >= most_per_address_) {
      if (from.refused++ == 0)
        spdlog::warn("Refusing further connections from {}: it has {} open", address, from.open);
      return std::nullopt;
    }
    if (open_ >= most_in_all_) {
      making_room = TakeOldestIdle();
      if (making_room.expired()) {
        if (from.open == 0) per_address_.erase(address);
        return std::nullopt;
      }
    }
    ++from.open;
    from.refused = 0;
    ++open_;
    id = ++next_id_;
  }
  // Closed on its own thread; its place is given back when it is gone.
  if (const auto oldest = making_room.lock()) oldest->CloseIdle();
  return Place(*this, address, id);
}

std::weak_ptr<IdleConnection> ConnectionLimits::TakeOldestIdle() {
  while (!idle_.empty()) {
    auto oldest = idle_.begin();
    auto [id, connection] = std::move(oldest->second);
    idle_.erase(oldest);
    wait_of_.erase(id);
    if (!connection.expired()) return connection;
  }
  return {};
}

bool ConnectionLimits::CloseOldestIdle() {
  std::weak_ptr<IdleConnection> oldest;
  {
    const std::lock_guard lock(mutex_);
    oldest = TakeOldestIdle();
  }
  const auto connection = oldest.lock();
  if (connection) connection->CloseIdle();
  return connection != nullptr;
}

std::size_t ConnectionLimits::open() const {
  const std::lock_guard lock(mutex_);
  return open_;
}

void ConnectionLimits::Leave(const std::string& address, std::uint64_t id) {
  const std::lock_guard lock(mutex_);
  --open_;
  if (const auto it = per_address_.find(address);
      it != per_address_.end() && --it->second.open == 0)
    per_address_.erase(it);
  if (const auto wait = wait_of_.find(id); wait != wait_of_.end()) {
    idle_.erase(wait->second);
    wait_of_.erase(wait);
  }
}

ConnectionLimits::Place::Place(Place&& other) noexcept
    : limits_(std::exchange(other.limits_, nullptr)),
      address_(std::move(other.address_)),
      id_(other.id_) {}

ConnectionLimits::Place::~Place() {
  if (limits_ != nullptr) limits_->Leave(address_, id_);
}

void ConnectionLimits::Place::Idle(std::weak_ptr<IdleConnection> connection) {
  const std::lock_guard lock(limits_->mutex_);
  const std::uint64_t wait = ++limits_->next_wait_;
  auto [it, added] = limits_->wait_of_.try_emplace(id_, wait);
  if (!added) {
    limits_->idle_.erase(it->second);
    it->second = wait;
  }
  limits_->idle_.emplace(wait, std::make_pair(id_, std::move(connection)));
}

void ConnectionLimits::Place::Busy() {
  const std::lock_guard lock(limits_->mutex_);
  if (const auto wait = limits_->wait_of_.find(id_); wait != limits_->wait_of_.end()) {
    limits_->idle_.erase(wait->second);
    limits_->wait_of_.erase(wait);
  }
}

}  // namespace cn::web
