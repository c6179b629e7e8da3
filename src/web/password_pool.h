#pragma once
// The threads that run the slow, memory-hard password checks, shared fairly: each client (an
// address, or a trusted device) has at most one check taken at a time, so a flood from one
// address holds one thread at most and clients are served in turn; the user's own devices
// have a lane of their own, served first, so that a flood from many addresses cannot keep
// them out. Each lane's queue is bounded: past it a login is told at once to try again rather
// than wait behind a flood (and the memory the checks take stays bounded).

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace cn::web {

class PasswordPool {
 public:
  enum class Lane { kTrusted, kUntrusted };
  // A check returns what follows it (the answer), run once its client may post again: a client
  // that waits for the answer before its next login is never told it has one taken.
  using Check = std::function<std::function<void()>()>;

  PasswordPool(std::size_t threads, std::size_t most_waiting);
  PasswordPool(const PasswordPool&) = delete;
  PasswordPool& operator=(const PasswordPool&) = delete;
  ~PasswordPool();  // joins

  // Runs `check` on one of the threads; false, without running it, when `client` has a check
  // taken already or the lane is full. A check that throws is logged.
  bool TryPost(Lane lane, std::string client, Check check);
  // Runs the checks already taken, then stops the threads.
  void Join();

 private:
  struct Taken {
    std::string client;
    Check run;
  };
  void Work();

  std::size_t capacity_;  // per lane: running and waiting
  std::mutex mutex_;
  std::condition_variable posted_;
  std::deque<Taken> lanes_[2];
  std::size_t taken_[2] = {0, 0};
  std::set<std::string, std::less<>> clients_;
  bool stopping_ = false;
  std::vector<std::thread> threads_;
};

}  // namespace cn::web
