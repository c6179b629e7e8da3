#pragma once
// Where the login throttle keeps its counts of failed logins, each under a key naming what it
// counts ("user ADMIN", "device 3f…", "address 192.0.2.1"). Kept in memory here; a store can
// keep them instead, so that a restart or another server knows them. Times are the wall
// clock's, which every server reads alike.

#include <chrono>
#include <cstddef>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <string_view>

namespace cn::web {

struct FailureCount {
  using Clock = std::chrono::system_clock;
  int failures = 0;
  Clock::time_point last_failure{};
  Clock::time_point locked_until{};
};

class FailureCounts {
 public:
  using Clock = FailureCount::Clock;
  virtual ~FailureCounts() = default;
  // The count under `key`; a fresh one when there is none.
  virtual FailureCount Read(std::string_view key) = 0;
  // Reads, changes and writes back the count under `key` as one step, and returns it changed.
  virtual FailureCount Change(std::string_view key, Clock::time_point now,
                              const std::function<void(FailureCount&)>& change) = 0;
  virtual void Clear(std::string_view key) = 0;
};

// At most `most_kept` counts: when full, those neither locked nor changed for `forget_after`
// go, and else the oldest, so that a flood of made-up names cannot grow the memory without end.
class MemoryFailureCounts final : public FailureCounts {
 public:
  MemoryFailureCounts(std::size_t most_kept, Clock::duration forget_after)
      : most_kept_(most_kept), forget_after_(forget_after) {}

  FailureCount Read(std::string_view key) override;
  FailureCount Change(std::string_view key, Clock::time_point now,
                      const std::function<void(FailureCount&)>& change) override;
  void Clear(std::string_view key) override;

 private:
  void MakeRoom(Clock::time_point now);

  std::size_t most_kept_;
  Clock::duration forget_after_;
  std::mutex mutex_;
  std::map<std::string, FailureCount, std::less<>> counts_;
};

}  // namespace cn::web
