#pragma once
// The server's insides, shared by its source files: the I/O threads, the sessions, the login
// checks, and one connection's read-answer loop over plain TCP or TLS.

#include <atomic>
#include <boost/asio.hpp>
#include <boost/asio/ssl.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>
#include <boost/beast/ssl.hpp>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "web/connection_limits.h"
#include "web/device_tokens.h"
#include "web/fiber_stacks.h"
#include "web/login_throttle.h"
#include "web/password_pool.h"
#include "web/pending_logins.h"
#include "web/server.h"
#include "web/server_responses.h"
#include "web/session_store.h"

namespace cn::web {

using Reply = std::function<void(Response)>;

class Server::Impl {
 public:
  Impl(ServerOptions options, std::shared_ptr<const UserDirectory> users, ScreenFactory screens);

  void Start();
  void Stop();
  void RunUntilSignalled();
  unsigned short Port() const { return port_; }
  std::size_t SessionCount() const { return store_.size(); }
  std::size_t ScreenCount() const { return store_.screens(); }
  void EvictIdleScreens(std::chrono::system_clock::duration idle_for);
  // Each I/O thread returns the memory it keeps free, then the free memory is released;
  // `done` runs on the last thread to return.
  void ReleaseMemoryNow(std::function<void()> done);

  // What an administrator changed at the command line (app/account_watch.h): the user's
  // sessions end, or his failed logins are forgotten.
  void EndSessionsOf(std::string_view user);
  void ForgetFailures(std::string_view user);

  // Answers one request from `peer` (the connection's address); `reply` is called exactly
  // once, on any thread.
  // `here`: the I/O thread the request was read on.
  void Handle(Request request, const std::string& peer, std::size_t here, Reply reply);

 private:
  template <class Stream>
  class Connection;
  // A login whose password waits for its check.
  struct LoginRequest {
    Request head;
    LoginAttempt attempt;
    bool trusted = false;  // as the throttle judged the browser
    std::string password;
    bool wants_json = false;
    std::string device_cookie;  // as the browser sent it
    bool stepped = false;       // came through the steps after the password (cn_login)
  };

  void Accept();
  // Serves a new connection, when the limits give it a place.
  void Serve(std::size_t thread, boost::asio::ip::tcp::socket socket);
  void PauseAccepting();
  void Sweep();
  void ReleaseMemory();
  // The client's address: the connection's, or the one a trusted proxy forwards.
  std::string ClientAddress(const Request& request, const std::string& peer) const;
  std::string CookieOf(const Request& request, std::string_view plain,
                       std::string_view secure) const;
  std::string SessionIdOf(const Request& request) const;
  std::string SessionCookie(std::string_view id, bool clear) const;
  std::string DeviceCookie(std::string_view value) const;
  std::string LoginCookie(std::string_view token, bool clear) const;
  void Login(Request request, std::string address, Reply reply);
  void CheckPassword(LoginRequest login, Reply reply);
  // On a password thread: the check; returns what follows from it.
  std::function<void()> Verify(const LoginRequest& login, const Reply& reply);
  // On a password thread, once the login's `done` step (none: the password) is passed: the next
  // step's answer, or the session; `extra` goes into the answer that opens it.
  std::function<void()> Proceed(const LoginRequest& login, PendingLogin pending,
                                std::optional<LoginStep> done, nlohmann::json extra,
                                const Reply& reply);
  void OpenSession(LoginRequest login, Identity identity, Reply reply,
                   nlohmann::json extra = nlohmann::json::object());
  // The steps after the password (server_account.cpp): POST /login/code, /login/password,
  // /login/enrol; GET /login/step, /login/qr.svg.
  void LoginStepRequest(Request request, std::string_view path, std::string address,
                        Reply reply);
  // The user's own account from his screen: POST /api/password, GET /api/mfa,
  // POST /api/mfa/begin, GET /api/mfa/qr.svg, POST /api/mfa/confirm.
  void AccountRequest(const Request& request, std::string_view path,
                      const SessionStore::Entry& entry, const std::string& address, Reply reply);
  // Runs `work` (the directory's, which may be slow) on the password threads for `client`,
  // replying with its answer; a failure is told as logging in not being possible now.
  void OffThread(const Request& head, std::string client, std::function<Response()> work,
                 Reply reply);
  // The attempt of a login by `user` from this browser, as the throttle judges it.
  LoginAttempt AttemptOf(const Request& request, std::string user, std::string address) const;
  void Logout(const Request& request, const SessionStore::Entry& entry, Reply reply);
  // 401 for a request without a live session, saying how it ended when that is known.
  Response NoSession(const Request& request, std::string_view ended) const;
  // POST /api/screen: a new screen for the tab `screen_id`, with its journal replayed.
  bool LiveSession(const Request& request);
  void OpenScreen(const Request& request, const SessionStore::Entry& entry, std::string screen_id,
                  nlohmann::json body, Reply reply);
  void ListSessions(const Request& request, const SessionStore::Entry& entry, Reply reply);
  void LogoutOthers(const Request& request, const SessionStore::Entry& entry, Reply reply);
  static bool IsEndorsementPath(std::string_view path);
  void ServeEndorsement(const Request& request, std::string_view path, Reply reply);
  // Runs `work` on the session's own thread and replies with its JSON or its refusal; the
  // session then lives on `here`, the thread that read the request, unless a handler waits.
  void OnSessionThread(const Request& request, std::shared_ptr<Session> screen, std::size_t here,
                       Reply reply, std::function<nlohmann::json(Session&)> work);
  // Runs `task` on the thread the session lives on: at once when called there.
  void OnHome(const std::shared_ptr<Session>& session, std::function<void()> task);
  void CloseOnItsThread(std::shared_ptr<Session> screen);
  void CloseAll(SessionStore::Held screens);
  // Connections and sessions are spread over the I/O threads each in their own turn: sharing
  // one turn, a login's connection and its session would always land on alternate threads
  // and every session on the same one.
  std::size_t NextConnectionThread() { return next_connection_thread_++ % contexts_.size(); }
  std::size_t NextHome() { return next_home_++ % contexts_.size(); }
  SessionStore::Clock::time_point Now() const { return options_.session_clock(); }
  bool Tls() const { return tls_.has_value(); }
  bool SecureCookies() const { return Tls() || options_.tls_at_proxy; }

  ServerOptions options_;
  std::shared_ptr<const UserDirectory> users_;
  ScreenFactory screens_;
  // A few free stacks per I/O thread are enough: a stack is busy only while an event runs or a
  // prompt waits.
  std::shared_ptr<FiberStacks> stacks_ = std::make_shared<FiberStacks>(8);
  SessionStore store_;
  PendingLogins pending_;
  DeviceTokens devices_;
  LoginThrottle throttle_;
  std::optional<ConnectionLimits> connections_;
  std::optional<boost::asio::ssl::context> tls_;
  std::vector<std::unique_ptr<boost::asio::io_context>> contexts_;
  std::vector<boost::asio::executor_work_guard<boost::asio::io_context::executor_type>> guards_;
  std::vector<std::thread> threads_;
  std::optional<boost::asio::ip::tcp::acceptor> acceptor_;
  std::optional<boost::asio::steady_timer> sweeper_;
  std::optional<boost::asio::steady_timer> releaser_;
  std::optional<boost::asio::steady_timer> accept_pause_;
  // On the first I/O thread: running out is logged once a minute at most.
  std::optional<std::chrono::steady_clock::time_point> last_told_out_of_descriptors_;
  PasswordPool passwords_;  // the memory-hard hash runs here, not on the I/O threads
  std::atomic<bool> healthy_{true};  // as /healthz last answered
  std::atomic<std::size_t> next_home_{0};
  std::atomic<std::size_t> next_connection_thread_{0};
  unsigned short port_ = 0;
  bool stopped_ = false;
};

}  // namespace cn::web
