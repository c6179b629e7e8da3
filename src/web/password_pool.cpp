#include "web/password_pool.h"

#include <boost/asio/post.hpp>

namespace cn::web {

PasswordPool::PasswordPool(std::size_t threads, std::size_t most_waiting)
    : pool_(threads == 0 ? 1 : threads), capacity_((threads == 0 ? 1 : threads) + most_waiting) {}

bool PasswordPool::TryPost(std::function<void()> check) {
  std::size_t taken = taken_.load();
  do {
    if (taken >= capacity_) return false;
  } while (!taken_.compare_exchange_weak(taken, taken + 1));
  boost::asio::post(pool_, [this, check = std::move(check)] {
    struct Release {
      std::atomic<std::size_t>& taken;
      ~Release() { --taken; }
    } release{taken_};
    check();
  });
  return true;
}

void PasswordPool::Join() { pool_.join(); }

}  // namespace cn::web
