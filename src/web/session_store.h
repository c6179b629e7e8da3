#pragma once
// The logged-in sessions, by session id: each with its CSRF token, the I/O thread it lives on,
// its user and its idle and absolute deadlines. A user has a few sessions at most: a new login
// past the limit ends that user's oldest. Safe to use from every I/O thread.

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
  std::size_t most_per_user = 3;  // 0: no limit
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
    std::string user;      // the identity's user id
    std::string address;   // the client address it logged in from
  };
  struct Added {
    std::optional<Entry> entry;  // nothing when the store is full
    std::vector<Entry> ended;    // the user's oldest sessions, past the per-user limit
  };
  // One of a user's sessions, as he is shown it (never its id).
  struct Listed {
    bool current = false;
    std::chrono::system_clock::time_point started;
    Clock::duration idle{};
    std::string address;
  };

  explicit SessionStore(SessionLimits limits) : limits_(limits) {}

  // Registers a new session of `user` under a fresh id, ending his oldest past the limit.
  Added Add(std::shared_ptr<Session> session, std::string user, std::string address,
            Clock::time_point now);
  // The live session with that id, its idle time restarted; nothing when unknown or expired.
  std::optional<Entry> Use(std::string_view id, Clock::time_point now);
  // Takes the session out (logout); nothing when unknown.
  std::optional<Entry> Remove(std::string_view id);
  // The live sessions of `user`, oldest first; `current_id` is marked.
  std::vector<Listed> OfUser(std::string_view user, std::string_view current_id, Clock::time_point now) const;
  // Takes out every session of `user` but `keep_id` ("log out the others").
  std::vector<Entry> RemoveOthers(std::string_view user, std::string_view keep_id);
  // Takes out every expired session, for closing on its own thread.
  std::vector<Entry> TakeExpired(Clock::time_point now);
  std::vector<Entry> TakeAll();
  std::size_t size() const;

 private:
  struct Slot {
    Entry entry;
    Clock::time_point created;
    Clock::time_point last_used;
    std::chrono::system_clock::time_point started;
  };
  bool Expired(const Slot& slot, Clock::time_point now) const;

  SessionLimits limits_;
  mutable std::mutex mutex_;
  std::map<std::string, Slot, std::less<>> slots_;
};

}  // namespace cn::web
