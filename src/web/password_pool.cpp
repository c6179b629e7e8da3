#include "web/password_pool.h"

#include <spdlog/spdlog.h>

#include <exception>

namespace cn::web {

PasswordPool::PasswordPool(std::size_t threads, std::size_t most_waiting)
    : capacity_((threads == 0 ? 1 : threads) + most_waiting) {
  for (std::size_t i = 0; i < (threads == 0 ? 1 : threads); ++i)
    threads_.emplace_back([this] { Work(); });
}

PasswordPool::~PasswordPool() { Join(); }

bool PasswordPool::TryPost(Lane lane, std::string client, Check check) {
  const auto index = static_cast<std::size_t>(lane);
  {
    const std::lock_guard lock(mutex_);
    if (stopping_ || taken_[index] >= capacity_ || clients_.contains(client)) return false;
    clients_.insert(client);
    ++taken_[index];
    lanes_[index].push_back({std::move(client), std::move(check)});
  }
  posted_.notify_one();
  return true;
}

void PasswordPool::Work() {
  for (;;) {
    Taken check;
    std::size_t index = 0;
    {
      std::unique_lock lock(mutex_);
      posted_.wait(lock, [&] { return stopping_ || !lanes_[0].empty() || !lanes_[1].empty(); });
      if (lanes_[0].empty() && lanes_[1].empty()) return;  // stopping, nothing left
      index = lanes_[0].empty() ? 1 : 0;                   // the trusted lane first
      check = std::move(lanes_[index].front());
      lanes_[index].pop_front();
    }
    std::function<void()> then;
    try {
      then = check.run();
    } catch (const std::exception& failure) {
      spdlog::error("A password check failed: {}", failure.what());
    }
    {
      const std::lock_guard lock(mutex_);
      clients_.erase(check.client);
      --taken_[index];
    }
    try {
      if (then) then();
    } catch (const std::exception& failure) {
      spdlog::error("The answer to a password check failed: {}", failure.what());
    }
  }
}

void PasswordPool::Join() {
  {
    const std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  posted_.notify_all();
  for (auto& thread : threads_) {
    if (thread.joinable()) thread.join();
  }
}

}  // namespace cn::web
