#pragma once
// The threads that run the slow, memory-hard password checks, with a bounded queue: when every
// thread is busy and the queue is full, a login is told at once to try again rather than wait
// behind a flood of guesses (and the memory each check takes stays bounded).

#include <atomic>
#include <boost/asio/thread_pool.hpp>
#include <cstddef>
#include <functional>

namespace cn::web {

class PasswordPool {
 public:
  PasswordPool(std::size_t threads, std::size_t most_waiting);
  PasswordPool(const PasswordPool&) = delete;
  PasswordPool& operator=(const PasswordPool&) = delete;

  // Runs `check` on one of the threads; false, without running it, when the pool is full.
  bool TryPost(std::function<void()> check);
  // Waits for the checks already taken, then stops the threads.
  void Join();

 private:
  boost::asio::thread_pool pool_;
  std::size_t capacity_;
  std::atomic<std::size_t> taken_{0};  // running and waiting
};

}  // namespace cn::web
