#pragma once
// The logged-in sessions, by session id: each with its CSRF token, the I/O thread it lives on
// and its idle and absolute deadlines. Safe to use from every I/O thread.

#include <chrono>
#include <cstddef>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "web/session.h"

namespace cn::web {

struct SessionLimits {
  std::chrono::steady_clock::duration idle = std::chrono::minutes(30);
  std::chrono::steady_clock::duration absolute = std::chrono::hours(12);
  std::size_t most_sessions = 10000;
};

// A random token of 256 bits from the system's CSPRNG, as 64 hex digits.
std::string RandomToken();
// Compares two tokens in time that does not depend on where they differ.
bool SameToken(std::string_view a, std::string_view b);

class SessionStore {
 public:
  using Clock = std::chrono::steady_clock;

  struct Entry {
    std::string id;
    std::string csrf;
    std::shared_ptr<Session> session;
    std::size_t home = 0;  // the I/O thread the session lives on
  };

  explicit SessionStore(SessionLimits limits) : limits_(limits) {}

  // Registers a new session under a fresh id; nothing when the store is full.
  std::optional<Entry> Add(std::shared_ptr<Session> session, std::size_t home, Clock::time_point now);
  // The live session with that id, its idle time restarted; nothing when unknown or expired.
  std::optional<Entry> Use(std::string_view id, Clock::time_point now);
  // Takes the session out (logout); nothing when unknown.
  std::optional<Entry> Remove(std::string_view id);
  // Takes out every expired session, for closing on its own thread.
  std::vector<Entry> TakeExpired(Clock::time_point now);
  std::vector<Entry> TakeAll();
  std::size_t size() const;

 private:
  struct Slot {
    Entry entry;
    Clock::time_point created;
    Clock::time_point last_used;
  };
  bool Expired(const Slot& slot, Clock::time_point now) const;

  SessionLimits limits_;
  mutable std::mutex mutex_;
  std::map<std::string, Slot, std::less<>> slots_;
};

}  // namespace cn::web
