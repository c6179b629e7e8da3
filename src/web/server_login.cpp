// Logging in and out: where a login may come from, its form read as text and its user name in
// one form, how fast guesses may follow each other (the user's own devices apart), the
// password check off the I/O threads, and each user's few sessions.
#include <spdlog/spdlog.h>

#include <algorithm>
#include <cmath>

#include "web/form.h"
#include "web/log_text.h"
#include "web/origin_check.h"
#include "web/server_impl.h"
#include "web/user_name.h"
#include "web/utf8.h"

namespace cn::web {
namespace {

namespace asio = boost::asio;
namespace http = boost::beast::http;
using nlohmann::json;

constexpr std::size_t kMostCredentialBytes = 1024;
constexpr std::string_view kLoginUnavailable =
    "Logging in is not possible at the moment; please try again shortly.";

// The login page's script logs in without leaving the page, and asks for JSON to say so.
bool AsksForJson(const Request& request) {
  const auto accept = request.find(http::field::accept);
  return accept != request.end() &&
         Sv(accept->value()).find("application/json") != std::string_view::npos;
}

// A refused login: the page's script keeps what was typed; a plain form goes back to the page.
Response RefusedLogin(const Request& head, bool wants_json) {
  if (wants_json)
    return ErrorResponse(head, 401, "refused", "The user name or password is not right.");
  return Redirect(head, http::status::see_other, "/login.html?failed=1");
}

long long WholeSeconds(std::chrono::nanoseconds wait) {
  return std::max<long long>(1, std::chrono::ceil<std::chrono::seconds>(wait).count());
}

Response Throttled(const Request& head, const LoginThrottle::Decision& decision) {
  const long long seconds = WholeSeconds(decision.wait);
  const bool locked = decision.verdict == LoginThrottle::Verdict::kLocked;
  const long long minutes = (seconds + 59) / 60;
  const std::string message =
      locked ? "Too many failed logins: logging in is locked for " + std::to_string(minutes) +
                   (minutes == 1 ? " minute." : " minutes.") +
                   " Try again later or ask your supervisor."
             : "Too many failed logins. Wait " + std::to_string(seconds) +
                   (seconds == 1 ? " second" : " seconds") + " before trying again.";
  Response response = ErrorResponse(head, 429, locked ? "locked" : "throttled", message);
  response.set(http::field::retry_after, std::to_string(seconds));
  return response;
}

}  // namespace

std::string Server::Impl::ClientAddress(const Request& request, const std::string& peer) const {
  const auto& proxies = options_.trusted_proxies;
  if (std::find(proxies.begin(), proxies.end(), peer) == proxies.end()) return peer;
  const auto forwarded = request.find("X-Forwarded-For");
  if (forwarded == request.end()) return peer;
  // The proxy appends the address it saw; what comes before it is the client's to write.
  std::string_view list = Sv(forwarded->value());
  std::string_view last =
      list.substr(list.rfind(',') == std::string_view::npos ? 0 : list.rfind(',') + 1);
  while (!last.empty() && last.front() == ' ') last.remove_prefix(1);
  while (!last.empty() && last.back() == ' ') last.remove_suffix(1);
  return last.empty() ? peer : LogText(last, 64);
}

std::string Server::Impl::CookieOf(const Request& request, std::string_view plain,
                                   std::string_view secure) const {
  const auto header = request.find(http::field::cookie);
  if (header == request.end()) return "";
  return std::string(CookieValue(Sv(header->value()), SecureCookies() ? secure : plain));
}

std::string Server::Impl::SessionIdOf(const Request& request) const {
  return CookieOf(request, kSessionCookie, kSecureSessionCookie);
}

std::string Server::Impl::SessionCookie(std::string_view id, bool clear) const {
  std::string cookie(SecureCookies() ? kSecureSessionCookie : kSessionCookie);
  cookie += "=" + std::string(id) + "; Path=/; HttpOnly; SameSite=Strict";
  if (SecureCookies()) cookie += "; Secure";
  if (clear) cookie += "; Max-Age=0";
  return cookie;
}

// While the steps after the password are taken: five minutes, as the login lasts.
std::string Server::Impl::LoginCookie(std::string_view token, bool clear) const {
  std::string cookie(SecureCookies() ? kSecureLoginCookie : kLoginCookie);
  cookie += "=" + std::string(token) + "; Path=/; HttpOnly; SameSite=Strict";
  if (SecureCookies()) cookie += "; Secure";
  cookie += clear ? "; Max-Age=0" : "; Max-Age=300";
  return cookie;
}

LoginAttempt Server::Impl::AttemptOf(const Request& request, std::string user,
                                     std::string address) const {
  LoginAttempt attempt{std::move(user), std::move(address), ""};
  attempt.device = devices_.Device(CookieOf(request, kDeviceCookie, kSecureDeviceCookie), attempt.user);
  return attempt;
}

// Kept for a year: the browser stays its user's own device until then.
std::string Server::Impl::DeviceCookie(std::string_view value) const {
  std::string cookie(SecureCookies() ? kSecureDeviceCookie : kDeviceCookie);
  cookie += "=" + std::string(value) + "; Path=/; Max-Age=31536000; HttpOnly; SameSite=Strict";
  if (SecureCookies()) cookie += "; Secure";
  return cookie;
}

void Server::Impl::Login(Request request, std::string address, Reply reply) {
  const auto origin = request.find(http::field::origin);
  if (origin != request.end() && !OriginAllowed(Sv(origin->value()), options_.allowed_origins)) {
    spdlog::warn("Refused a login from the page at {} ({})", LogText(Sv(origin->value())), address);
    return reply(ErrorResponse(request, 403, "origin", "Log in from this server's own page"));
  }
  const auto fields = ParseForm(request.body());
  const bool text = std::all_of(fields.begin(), fields.end(), [](const auto& field) {
    return IsUtf8(field.first) && IsUtf8(field.second);
  });
  if (!text) {
    spdlog::info("Refused a login form that is not UTF-8 text from {}", address);
    return reply(
        ErrorResponse(request, 400, "bad-text", "The user name and password must be text."));
  }
  const auto user = CanonicalUserName(FormValue(fields, "user"));
  const std::string_view password = FormValue(fields, "password");
  const bool wants_json = AsksForJson(request);
  if (!user || password.size() > kMostCredentialBytes)
    return reply(RefusedLogin(request, wants_json));
  LoginRequest login{HeadOf(request), AttemptOf(request, *user, std::move(address)),
                     false,           std::string(password),
                     wants_json,      CookieOf(request, kDeviceCookie, kSecureDeviceCookie),
                     false};
  const auto decision = throttle_.Check(login.attempt, LoginThrottle::Clock::now());
  if (decision.verdict != LoginThrottle::Verdict::kTry) return reply(Throttled(request, decision));
  login.trusted = decision.trusted;
  CheckPassword(std::move(login), std::move(reply));
}

// A check is taken per client: a trusted browser by its device, anyone else by address.
void Server::Impl::CheckPassword(LoginRequest login, Reply reply) {
  auto pending = std::make_shared<const LoginRequest>(std::move(login));
  // The reply is kept outside the check so that a full pool can still answer with it.
  auto shared_reply = std::make_shared<Reply>(std::move(reply));
  const auto& attempt = pending->attempt;
  const bool taken = passwords_.TryPost(
      pending->trusted ? PasswordPool::Lane::kTrusted : PasswordPool::Lane::kUntrusted,
      pending->trusted ? "device " + attempt.device : "address " + attempt.address,
      [this, pending, shared_reply]() -> std::function<void()> {
        try {
          return Verify(*pending, *shared_reply);
        } catch (const std::exception& failure) {
          spdlog::error("A login for '{}' from {} could not be checked: {}",
                        LogText(pending->attempt.user), pending->attempt.address,
                        LogText(failure.what(), 1000));
          return [pending, shared_reply] {
            (*shared_reply)(ErrorResponse(pending->head, 503, "unavailable", kLoginUnavailable));
          };
        }
      });
  if (!taken) {
    spdlog::warn("Too many logins at once: told one from {} to try again", attempt.address);
    (*shared_reply)(
        ErrorResponse(pending->head, 503, "busy", "The server is busy, try again in a moment."));
  }
}

std::function<void()> Server::Impl::Verify(const LoginRequest& login, const Reply& reply) {
  const LoginAttempt& attempt = login.attempt;
  auto account = users_->Authenticate(attempt.user, login.password);
  if (!account) {
    const auto failure = throttle_.Failed(attempt, login.trusted, LoginThrottle::Clock::now());
    const std::string user = LogText(attempt.user);
    if (login.trusted) {
      spdlog::info("Refused a login for '{}' from {} on one of his devices ({} failures on it)",
                   user, attempt.address, failure.failures);
      if (failure.locked) spdlog::warn("A device of '{}' is locked after repeated failures", user);
    } else {
      spdlog::info(
          "Refused a login for '{}' from {} ({} failures from browsers not his, {} from the "
          "address)",
          user, attempt.address, failure.failures, failure.address_failures);
      if (failure.locked) {
        spdlog::warn("Logging in as '{}' from browsers not his is locked after repeated failures",
                     user);
      }
      if (failure.address_locked)
        spdlog::warn("Logging in from {} is locked after repeated failures", attempt.address);
    }
    users_->Record({attempt.user, "login failed", attempt.address,
                    login.trusted ? "from one of his browsers" : ""});
    if (failure.locked) users_->Record({attempt.user, "locked", attempt.address, "15 minutes"});
    return [reply, refusal = RefusedLogin(login.head, login.wants_json)] { reply(refusal); };
  }
  throttle_.Succeeded(attempt, login.trusted);
  PendingLogin pending;
  pending.account = *account;
  pending.attempt = attempt;
  pending.trusted = login.trusted;
  pending.device_cookie = login.device_cookie;
  return Proceed(login, std::move(pending), std::nullopt, json::object(), reply);
}

std::function<void()> Server::Impl::Proceed(const LoginRequest& login, PendingLogin pending,
                                            std::optional<LoginStep> done, json extra,
                                            const Reply& reply) {
  const auto step = NextLoginStep(pending.account, done);
  const std::string& user = pending.attempt.user;
  if (!step) {
    users_->Record({user, "login", pending.attempt.address,
                    pending.account.has_second_factor ? "with a second factor" : ""});
    return [this, login, identity = pending.account.identity, reply, extra = std::move(extra)] {
      OpenSession(login, identity, reply, extra);
    };
  }
  json answer{{"step", *step == LoginStep::kCode       ? "code"
                       : *step == LoginStep::kPassword ? "password"
                                                       : "enrol"},
              {"user", user}};
  if (*step == LoginStep::kEnrol) {
    pending.secret = users_->BeginEnrolment(user).value_or("");
    answer["secret"] = pending.secret;
    answer["qr"] = "/login/qr.svg";
  }
  pending.step = *step;
  const std::string token = pending_.Add(std::move(pending), Now());
  Response response = login.wants_json
                          ? JsonResponse(login.head, http::status::ok, answer)
                          : Redirect(login.head, http::status::see_other, "/login.html?step=1");
  response.set(http::field::set_cookie, LoginCookie(token, false));
  return [reply, response = std::move(response)] { reply(response); };
}

void Server::Impl::OpenSession(LoginRequest login, Identity identity, Reply reply, json extra) {
  const std::string& address = login.attempt.address;
  try {
    auto added = store_.Add(identity, address, Now());
    CloseAll(std::move(added.closing));
    if (!added.entry)
      return reply(ErrorResponse(login.head, 503, "busy", "Too many sessions; try again later"));
    spdlog::info("'{}' logged in from {}", LogText(identity.user_id), address);
    extra["location"] = "/app.html";
    Response response = login.wants_json
                            ? JsonResponse(login.head, http::status::ok, extra)
                            : Redirect(login.head, http::status::see_other, "/app.html");
    response.insert(http::field::set_cookie, SessionCookie(added.entry->id, false));
    if (login.stepped) response.insert(http::field::set_cookie, LoginCookie("", true));
    response.insert(http::field::set_cookie,
                    DeviceCookie(devices_.Renewed(login.device_cookie, login.attempt.user)));
    reply(std::move(response));
  } catch (const std::exception& failure) {
    spdlog::error("The session of '{}' could not open: {}", LogText(identity.user_id),
                  LogText(failure.what(), 1000));
    reply(ErrorResponse(login.head, 503, "unavailable", kLoginUnavailable));
  }
}

// The cookie stays: the other tabs of the browser send it, and are told that they were logged
// out rather than merely shown the login page.
void Server::Impl::Logout(const Request& request, const SessionStore::Entry& entry, Reply reply) {
  try {
    CloseAll(store_.End(entry.id, session_end::kLoggedOut, Now()));
  } catch (const std::exception& failure) {
    spdlog::error("A logout could not be kept: {}", LogText(failure.what(), 1000));
    return reply(ErrorResponse(request, 503, "unavailable", kLoginUnavailable));
  }
  spdlog::info("'{}' logged out", LogText(entry.user()));
  reply(JsonResponse(request, http::status::ok, {{"ok", true}}));
}

Response Server::Impl::NoSession(const Request& request, std::string_view ended) const {
  const auto minutes = std::chrono::duration_cast<std::chrono::minutes>(options_.sessions.idle);
  const auto hours = std::chrono::duration_cast<std::chrono::hours>(options_.sessions.absolute);
  std::string message = "Not logged in, or the session has ended";
  if (ended == session_end::kLoggedOut) message = "You have logged out in another window.";
  if (ended == session_end::kEndedByOther)
    message = "This session was logged out from another of your sessions.";
  if (ended == session_end::kTooMany)
    message = "You logged in again elsewhere, which ended this older session.";
  if (ended == session_end::kPasswordChanged)
    message = "Your password was changed, which ended this session.";
  if (ended == session_end::kAccountChanged)
    message = "Your account was changed by an administrator, which ended this session.";
  if (ended == session_end::kIdle)
    message = "Your session ended after " + std::to_string(minutes.count()) + " minutes unused.";
  if (ended == session_end::kExpired)
    message = "Your session ended after " + std::to_string(hours.count()) + " hours.";
  json body{{"error", "no-session"}, {"message", message}};
  if (!ended.empty()) body["ended"] = ended;
  return JsonResponse(request, http::status::unauthorized, body);
}

void Server::Impl::ListSessions(const Request& request, const SessionStore::Entry& entry,
                                Reply reply) {
  json sessions = json::array();
  try {
    for (const auto& one : store_.OfUser(entry.user(), entry.id, Now())) {
      const auto started =
          std::chrono::duration_cast<std::chrono::seconds>(one.started.time_since_epoch());
      sessions.push_back(
          {{"current", one.current},
           {"started", started.count()},
           {"idle_seconds", std::chrono::duration_cast<std::chrono::seconds>(one.idle).count()},
           {"address", one.address}});
    }
  } catch (const std::exception& failure) {
    spdlog::error("The sessions could not be listed: {}", LogText(failure.what(), 1000));
    return reply(ErrorResponse(request, 503, "unavailable", kLoginUnavailable));
  }
  reply(JsonResponse(request, http::status::ok, {{"sessions", std::move(sessions)}}));
}

void Server::Impl::EndSessionsOf(std::string_view user) {
  try {
    auto ended = store_.EndOfUser(user, "", session_end::kAccountChanged, Now());
    if (ended.count > 0)
      spdlog::info("Ended {} sessions of '{}': his account was changed", ended.count,
                   LogText(user));
    CloseAll(std::move(ended.closing));
  } catch (const std::exception& failure) {
    spdlog::error("The sessions of '{}' could not be ended: {}", LogText(user),
                  LogText(failure.what(), 1000));
  }
}

void Server::Impl::ForgetFailures(std::string_view user) {
  throttle_.Forget(user);
  spdlog::info("Forgot the failed logins at the name '{}': he was unlocked", LogText(user));
}

void Server::Impl::LogoutOthers(const Request& request, const SessionStore::Entry& entry,
                                Reply reply) {
  SessionStore::Ended others;
  try {
    others = store_.EndOfUser(entry.user(), entry.id, session_end::kEndedByOther, Now());
  } catch (const std::exception& failure) {
    spdlog::error("Other sessions could not be ended: {}", LogText(failure.what(), 1000));
    return reply(ErrorResponse(request, 503, "unavailable", kLoginUnavailable));
  }
  CloseAll(std::move(others.closing));
  if (others.count > 0)
    spdlog::info("'{}' ended {} other sessions", LogText(entry.user()), others.count);
  reply(JsonResponse(request, http::status::ok, {{"ended", others.count}}));
}

}  // namespace cn::web
