#pragma once
// The browser front end's HTTP server: static files of the pages folder, login and logout,
// and the JSON protocol of each session's screen (web/session.h). HTTP/1.1 with keep-alive on
// a few I/O threads; every session lives on one of them, so its handlers run one at a time,
// and a handler waiting for an answer suspends its fiber instead of holding the thread.
//
// Routes:
//   GET  /healthz         200 "ok NAME" while the database answers, else 503 (web/operations.h)
//   GET  /                -> 302 to /app.html
//   GET  /login.html, /app.html, /dlgEnq.htm, /dlgSrch.htm, /js/..., /styles/...   static files
//   (ETag, 304 when unchanged)
//                         /login.html with a live session -> 302 to /app.html
//   POST /login           form "user", "password" -> 303 to /app.html with the session cookie
//                         and the device cookie (web/device_tokens.h), or 303 to
//                         /login.html?failed=1; asked with Accept: application/json,
//                         200 {"location": "/app.html"} with the cookies, or 401 "refused";
//                         400 "bad-text" for a form that is not UTF-8, 403 "origin" from a page
//                         not allowed, 429 "throttled" or "locked" after too many failures
//                         (Retry-After), 503 "busy" when the password checks are all taken,
//                         503 "unavailable" when the users cannot be read or the screen cannot
//                         open. A right password with a step still to take (the account's
//                         Account) answers 200 {"step": "code"|"password"|"enrol", "user",
//                         and for "enrol" "secret", "qr"} with the cookie cn_login (5 minutes)
//   POST /login/code      form "code": a TOTP or recovery code   } the next step, or the
//   POST /login/password  form "password": his own, by the rules } session as /login does
//   POST /login/enrol     form "code": the first code of the new } ("recovery_codes" with it);
//                         second factor                           } 401 "refused", 400 "weak"
//                         {"message", "hints"}, 401 "no-login" when the login has ended
//   GET  /login/step      the step waiting; GET /login/qr.svg its QR code (image/svg+xml)
//   Every request of a tab's screen (state, event, answer, dialog, screen) names the tab in
//   the header X-Screen (web/screens.h); a screen this server does not hold is 410
//   "no-screen", and the tab then opens it again with POST /api/screen.
//   GET  /api/state       the whole screen (Session::Render) and "csrf": the session's token;
//                         {"held": false, "csrf"} when this server holds no screen of the tab
//   POST /api/screen      {"journal": [...]}: a new screen for the tab, the journal's actions
//                         replayed on it (web/journal.h); answers as /api/state does
//   GET  /api/sessions    {"sessions": [{"current", "started", "idle_seconds", "address"}]}:
//                         the user's own sessions
//   POST /api/event       Session::Event      } header X-CSRF-Token required,
//   POST /api/answer      Session::Answer     } body JSON
//   POST /api/dialog      Session::DialogSearch }
//   POST /api/logout      ends the session     }
//   POST /api/logout-others  ends the user's other sessions: {"ended": count}
//   POST /api/password    {"current", "password"}: his own new password; {"ended": count} of
//                         his other sessions, 401 "refused", 400 "weak" {"message", "hints"}
//   GET  /api/mfa         {"enrolled", "required", "recovery_codes_left"}
//   POST /api/mfa/begin   {"secret", "qr"}: a second factor to confirm; 409 when one is set up
//   GET  /api/mfa/qr.svg  its QR code
//   POST /api/mfa/confirm {"code"}: {"recovery_codes"} shown once, or 401 "refused"
//   GET  /endorsement/NOTE/EN        the endorsement's PDF (inline), for the session's agent
//   GET  /endorsement/NOTE/EN/print  its HTML print view; refusals are pages: 401 no session,
//                         403 another agent's cover note, 404 no such endorsement
//   POST /api/floor?bytes=N  only with ServerOptions::floor_endpoint: the way of /api/event
//                         without the screen, answering N bytes of filler (web/floor.h)
// Refusals are JSON {"error": code, "message": text} with a 4xx status: 400 bad request,
// 401 no session (with "ended": how, when the session is known to have ended: the message
// says so), 403 CSRF token missing or wrong (or "role": a command his role may not use),
// 404 unknown, 405 method, 409 out of turn,
// 413 body too large, 429 too many failed logins, 503 too many sessions or logins.
// With a certificate the server speaks only HTTPS; then (or when told that TLS ends at a proxy)
// the session cookie is "__Host-cn_session" with Secure, and HSTS is sent.

#include <chrono>
#include <cstddef>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/metrics.h"
#include "web/endorsements.h"
#include "web/failure_counts.h"
#include "web/login_throttle.h"
#include "web/memory_release.h"
#include "web/operations.h"
#include "web/session.h"
#include "web/session_records.h"
#include "web/session_store.h"
#include "web/user_directory.h"

namespace cn::web {

inline constexpr std::string_view kSessionCookie = "cn_session";
inline constexpr std::string_view kSecureSessionCookie = "__Host-cn_session";
inline constexpr std::string_view kDeviceCookie = "cn_device";
inline constexpr std::string_view kSecureDeviceCookie = "__Host-cn_device";
inline constexpr std::string_view kLoginCookie = "cn_login";
inline constexpr std::string_view kSecureLoginCookie = "__Host-cn_login";
inline constexpr std::string_view kCsrfHeader = "X-CSRF-Token";
// The browser tab whose screen a request is for (web/screens.h).
inline constexpr std::string_view kScreenHeader = "X-Screen";

struct ServerOptions {
  std::string bind = "127.0.0.1";
  unsigned short port = 8080;    // 0: any free port (Server::Port tells which)
  std::filesystem::path assets;  // the pages folder
  std::size_t io_threads = 2;
  std::size_t most_body_bytes = 64 * 1024;
  std::chrono::steady_clock::duration request_timeout = std::chrono::seconds(30);
  std::chrono::steady_clock::duration sweep_interval = std::chrono::seconds(30);
  SessionLimits sessions;
  // The clock of the sessions' idle and absolute limits; tests move it on.
  std::function<std::chrono::system_clock::time_point()> session_clock =
      std::chrono::system_clock::now;
  // Where the login sessions are kept (web/session_records.h); empty: in this process's memory.
  std::shared_ptr<SessionRecords> session_records;
  // A tab's screen not used for this long is let go (0: never); its tab rebuilds it from its
  // journal at its next action.
  std::chrono::system_clock::duration evict_idle_screens_after{};

  // Pages that may post the login form: origins or bare hosts (web/origin_check.h); empty,
  // the bind address and localhost.
  std::vector<std::string> allowed_origins;
  // Addresses of proxies in front whose X-Forwarded-For names the client (for throttling and
  // the session list); requests from anywhere else are taken at their own address.
  std::vector<std::string> trusted_proxies;
  ThrottleLimits throttle;
  // The product's name in authenticator apps (the TOTP issuer).
  std::string issuer = "Cover Note";
  // Where the throttle keeps its counts; empty: in this process's memory.
  std::shared_ptr<FailureCounts> failure_counts;
  // The key device cookies are signed with (DeviceTokens::kKeyBytes bytes), kept with the
  // database so that browsers stay trusted across restarts and servers; empty: a key of this
  // process only.
  std::string device_key;
  std::size_t password_threads = 2;
  std::size_t most_waiting_logins = 8;  // in each lane of the password checks

  // Open connections: at most this many from one address (0: no limit; a trusted proxy has
  // none) and in all (0: three quarters of the open-file limit, which Start raises to the hard
  // limit); the connection idle longest is closed for a new one.
  std::size_t most_connections_per_address = 64;
  std::size_t most_connections = 0;
  // Out of descriptors with no idle connection to close, accepting waits this long.
  std::chrono::steady_clock::duration accept_pause = std::chrono::milliseconds(100);

  std::filesystem::path tls_cert;  // PEM; with tls_key, the server speaks HTTPS
  std::filesystem::path tls_key;
  bool tls_at_proxy = false;  // plain HTTP behind a proxy that browsers reach over HTTPS

  std::chrono::steady_clock::duration release_interval = std::chrono::minutes(1);
  std::function<void()> release_memory = ReleaseFreeMemory;

  std::string server_name;           // shown by /healthz, and in the logs
  HealthCheck health_check;          // GET /healthz: 200 when it says "", else 503
  std::shared_ptr<Metrics> metrics;  // when set, every request is counted in it
  // The endorsements sessions open (GET /endorsement/...); none: every such address is 404.
  std::shared_ptr<const Endorsements> endorsements;
  // Serves POST /api/floor, for load tests that time the server's own share of a round trip;
  // never on for users.
  bool floor_endpoint = false;
};

class Server {
 public:
  Server(ServerOptions options, std::shared_ptr<const UserDirectory> users, ScreenFactory screens);
  Server(const Server&) = delete;
  Server& operator=(const Server&) = delete;
  ~Server();  // stops

  // Binds, listens and starts the I/O threads; a port in use, or a certificate or key that
  // cannot be read, is a std::runtime_error.
  void Start();
  unsigned short Port() const;
  // Closes every session and stops the threads; safe to call twice.
  void Stop();
  // Blocks until SIGINT or SIGTERM, then stops.
  void RunUntilSignalled();

  std::size_t SessionCount() const;
  // The tabs' screens this server holds.
  std::size_t ScreenCount() const;
  // Lets go of the screens not used for `idle_for`, as --evict-idle-screens-after does; returns
  // when they are closed.
  void EvictIdleScreens(std::chrono::system_clock::duration idle_for);
  // Ends every session of `user` (his account was changed at the command line).
  void EndSessionsOf(std::string_view user);
  // Forgets the failed logins counted against `user` (he was unlocked).
  void ForgetFailures(std::string_view user);
  // What the timer does every release_interval, now; returns when it is done.
  void ReleaseMemory();

 private:
  class Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace cn::web
