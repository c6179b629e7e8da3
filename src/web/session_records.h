#pragma once
// Where the login sessions are kept, so that a restarted server or another server of the same
// database accepts a browser's cookie: one row per session, under a hash of its id (the id
// itself is never kept), with its CSRF token, who logged in and from where, when it started,
// when it was last used and when it must end. A session that ended keeps its row a while, with
// how it ended, so that a tab of it can be told why rather than merely shown the login page.
// Times are the wall clock's, in milliseconds since 1970 (UTC), which every server reads alike.
//
// Every method may be slow (a database) and may throw; each must be safe to call from several
// threads at once.

#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "web/user_directory.h"

namespace cn::web {

// How a session ended, as kept in its row.
namespace session_end {
inline constexpr std::string_view kLoggedOut = "logged out";
inline constexpr std::string_view kEndedByOther = "ended from another session";
inline constexpr std::string_view kTooMany = "too many sessions";
inline constexpr std::string_view kPasswordChanged = "password changed";
inline constexpr std::string_view kAccountChanged = "account changed";
}  // namespace session_end

struct SessionRow {
  std::string id_hash;  // web/session_store.h HashOfId
  std::string csrf;
  Identity identity;
  std::string address;  // the client's, at login
  std::int64_t started = 0;
  std::int64_t last_used = 0;
  std::int64_t ends = 0;  // the absolute end
  std::string ended;      // "" while it lasts, else one of session_end
  std::int64_t ended_at = 0;
  bool operator==(const SessionRow&) const = default;
};

class SessionRecords {
 public:
  virtual ~SessionRecords() = default;
  virtual void Insert(const SessionRow& row) = 0;
  virtual std::optional<SessionRow> Find(std::string_view id_hash) = 0;
  virtual void Touch(std::string_view id_hash, std::int64_t last_used) = 0;
  // The user's sessions that have not ended, oldest first (expired ones included: the caller
  // judges them by its limits).
  virtual std::vector<SessionRow> OfUser(std::string_view user) = 0;
  // Ends the session, if it has not ended already.
  virtual void End(std::string_view id_hash, std::string_view how, std::int64_t at) = 0;
  // Forgets the sessions last used, or ended, before `before`.
  virtual void Forget(std::int64_t before) = 0;
};

// The rows in this process's memory: for tests, and a server without a shared store.
class MemorySessionRecords final : public SessionRecords {
 public:
  void Insert(const SessionRow& row) override;
  std::optional<SessionRow> Find(std::string_view id_hash) override;
  void Touch(std::string_view id_hash, std::int64_t last_used) override;
  std::vector<SessionRow> OfUser(std::string_view user) override;
  void End(std::string_view id_hash, std::string_view how, std::int64_t at) override;
  void Forget(std::int64_t before) override;

 private:
  std::mutex mutex_;
  std::map<std::string, SessionRow, std::less<>> rows_;
};

}  // namespace cn::web
