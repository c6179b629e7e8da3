#pragma once
// The logged-in sessions. Each is a row of SessionRecords (web/session_records.h), so that any
// server of the database accepts its cookie until it expires or is logged out; this server
// keeps in memory a copy of the rows it serves and the screens it holds for them (one per
// browser tab, web/screens.h). The copy is read again from the records every few seconds, so
// that a logout or a newer login on another server is noticed here; "last used" is written
// back at most once a minute. A user has a few sessions at most: a new login past the limit
// ends his oldest. Safe to use from every I/O thread.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "web/screens.h"
#include "web/session_records.h"
#include "web/user_directory.h"

namespace cn::web {

struct SessionLimits {
  std::chrono::system_clock::duration idle = std::chrono::minutes(30);
  std::chrono::system_clock::duration absolute = std::chrono::hours(12);
  std::size_t most_sessions = 10000;  // held by this server at once
  std::size_t most_per_user = 3;      // 0: no limit
  std::size_t most_screens = 5;       // browser tabs of one session held at once
  // How often a session's row is read again, and its last use written back.
  std::chrono::system_clock::duration recheck = std::chrono::seconds(5);
  std::chrono::system_clock::duration touch_every = std::chrono::minutes(1);
};

// A random token of 256 bits from the system's CSPRNG, as 64 hex digits.
std::string RandomToken();
// Compares two tokens in time that does not depend on where they differ.
bool SameToken(std::string_view a, std::string_view b);
// What the records keep of a session id: its BLAKE2b hash, as hex.
std::string HashOfId(std::string_view id);

// How an expired session ended, beside those of session_end.
namespace session_end {
inline constexpr std::string_view kIdle = "idle";
inline constexpr std::string_view kExpired = "expired";
}  // namespace session_end

class SessionStore {
 public:
  using Clock = std::chrono::system_clock;
  using Held = Screens::Held;

  struct Entry {
    std::string id;
    std::string csrf;
    Identity identity;
    std::string address;  // the client address it logged in from
    std::shared_ptr<Screens> screens;
    const std::string& user() const { return identity.user_id; }
  };
  struct Added {
    std::optional<Entry> entry;  // nothing when this server holds all it may
    Held closing;                // screens of the user's oldest sessions, past the limit
  };
  struct Used {
    std::optional<Entry> entry;  // nothing when unknown, ended or expired
    std::string ended;           // how it ended, when known (session_end)
    Held closing;                // its screens here, when it was found ended
  };
  struct Ended {
    std::size_t count = 0;
    Held closing;
  };
  // One of a user's sessions, as he is shown it (never its id).
  struct Listed {
    bool current = false;
    Clock::time_point started;
    Clock::duration idle{};
    std::string address;
  };

  SessionStore(SessionLimits limits, std::shared_ptr<SessionRecords> records);

  // Opens a session of `identity` under a fresh id, ending his oldest past the limit.
  Added Add(Identity identity, std::string address, Clock::time_point now);
  // The live session with that id, its idle time restarted. Throws what the records throw when
  // the session is not held here and its row cannot be read.
  Used Use(std::string_view id, Clock::time_point now);
  // Ends the session (`how`: session_end); its screens here are returned for closing.
  Held End(std::string_view id, std::string_view how, Clock::time_point now);
  // The live sessions of `user` on every server, oldest first; `current_id` is marked.
  std::vector<Listed> OfUser(std::string_view user, std::string_view current_id,
                             Clock::time_point now);
  // Ends every session of `user` but `keep_id`.
  Ended EndOfUser(std::string_view user, std::string_view keep_id, std::string_view how,
                  Clock::time_point now);
  // Lets go of the sessions expired, and of the screens idle since `evict_before`; forgets
  // the rows of sessions ended long ago. Returns the screens to close.
  Held Sweep(Clock::time_point now, std::optional<Clock::time_point> evict_before);
  Held TakeAll();
  std::size_t size() const;
  std::size_t screens() const;

 private:
  struct Slot {
    Entry entry;
    std::string hash;
    Clock::time_point started;
    Clock::time_point ends;
    Clock::time_point last_used;
    Clock::time_point last_written;
    Clock::time_point checked;
  };
  // How a session last used at `last_used` and ending at `ends` has expired; "" when live.
  std::string_view Expiry(Clock::time_point last_used, Clock::time_point ends,
                          Clock::time_point now) const;
  // Takes the cached session out; its screens are returned.
  Held Drop(std::string_view hash);
  void Touch(const std::string& hash, Clock::time_point now);

  SessionLimits limits_;
  std::shared_ptr<SessionRecords> records_;
  mutable std::mutex mutex_;
  std::map<std::string, Slot, std::less<>> slots_;  // by hash
  std::int64_t last_started_ = 0;
};

}  // namespace cn::web
