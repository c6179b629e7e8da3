// Logging in and out: where a login may come from, how fast guesses may follow each other,
// the password check off the I/O threads, and each user's few sessions.
#include <spdlog/spdlog.h>

#include <algorithm>
#include <cmath>

#include "web/form.h"
#include "web/log_text.h"
#include "web/origin_check.h"
#include "web/server_impl.h"

namespace cn::web {
namespace {

namespace asio = boost::asio;
namespace http = boost::beast::http;
using nlohmann::json;

constexpr std::size_t kMostCredentialBytes = 1024;

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

long long WholeSeconds(std::chrono::steady_clock::duration wait) {
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

std::string Server::Impl::SessionIdOf(const Request& request) const {
  const auto header = request.find(http::field::cookie);
  if (header == request.end()) return "";
  return std::string(
      CookieValue(Sv(header->value()), SecureCookies() ? kSecureSessionCookie : kSessionCookie));
}

std::string Server::Impl::SessionCookie(std::string_view id, bool clear) const {
  std::string cookie(SecureCookies() ? kSecureSessionCookie : kSessionCookie);
  cookie += "=" + std::string(id) + "; Path=/; HttpOnly; SameSite=Strict";
  if (SecureCookies()) cookie += "; Secure";
  if (clear) cookie += "; Max-Age=0";
  return cookie;
}

void Server::Impl::Login(Request request, std::string address, Reply reply) {
  const auto origin = request.find(http::field::origin);
  if (origin != request.end() && !OriginAllowed(Sv(origin->value()), options_.allowed_origins)) {
    spdlog::warn("Refused a login from the page at {} ({})", LogText(Sv(origin->value())), address);
    return reply(ErrorResponse(request, 403, "origin", "Log in from this server's own page"));
  }
  const auto fields = ParseForm(request.body());
  std::string user(FormValue(fields, "user"));
  std::string password(FormValue(fields, "password"));
  const bool wants_json = AsksForJson(request);
  if (user.empty() || user.size() > kMostCredentialBytes ||
      password.size() > kMostCredentialBytes) {
    return reply(RefusedLogin(request, wants_json));
  }
  const auto decision = throttle_.Check(user, address, LoginThrottle::Clock::now());
  if (decision.verdict != LoginThrottle::Verdict::kTry) return reply(Throttled(request, decision));
  CheckPassword(HeadOf(request), std::move(user), std::move(password), std::move(address),
                wants_json, std::move(reply));
}

void Server::Impl::CheckPassword(Request head, std::string user, std::string password,
                                 std::string address, bool wants_json, Reply reply) {
  // The reply is kept outside the check so that a full pool can still answer with it.
  auto shared_reply = std::make_shared<Reply>(std::move(reply));
  const bool taken = passwords_.TryPost([this, head, user, password = std::move(password), address,
                                         wants_json, shared_reply]() mutable {
    auto identity = users_->Authenticate(user, password);
    if (!identity) {
      const auto failure = throttle_.Failed(user, address, LoginThrottle::Clock::now());
      spdlog::info(
          "Refused a login for '{}' from {} ({} failures for the name, {} from the address)",
          LogText(user), address, failure.user_failures, failure.address_failures);
      if (failure.user_locked)
        spdlog::warn("Logging in as '{}' is locked after repeated failures", LogText(user));
      if (failure.address_locked)
        spdlog::warn("Logging in from {} is locked after repeated failures", address);
      return (*shared_reply)(RefusedLogin(head, wants_json));
    }
    throttle_.Succeeded(user);
    OpenSession(std::move(head), std::move(*identity), std::move(address), wants_json,
                std::move(*shared_reply));
  });
  if (!taken) {
    spdlog::warn("Too many logins at once: told one from {} to try again", address);
    (*shared_reply)(ErrorResponse(head, 503, "busy", "The server is busy, try again in a moment."));
  }
}

void Server::Impl::OpenSession(Request head, Identity identity, std::string address,
                               bool wants_json, Reply reply) {
  const std::size_t home = NextHome();
  asio::post(*contexts_[home], [this, head = std::move(head), identity = std::move(identity), home,
                                address = std::move(address), wants_json,
                                reply = std::move(reply)] {
    try {
      auto session = std::make_shared<Session>(identity, screens_, stacks_);
      session->home() = home;
      session->Open();
      auto added = store_.Add(session, identity.user_id, address, SessionStore::Clock::now());
      for (auto& ended : added.ended) {
        spdlog::info("Ended the oldest session of '{}' (from {}): too many at once",
                     LogText(identity.user_id), ended.address);
        CloseOnItsThread(std::move(ended));
      }
      if (!added.entry) {
        session->Close();
        return reply(ErrorResponse(head, 503, "busy", "Too many sessions; try again later"));
      }
      spdlog::info("'{}' logged in from {}", LogText(identity.user_id), address);
      Response response = wants_json
                              ? JsonResponse(head, http::status::ok, {{"location", "/app.html"}})
                              : Redirect(head, http::status::see_other, "/app.html");
      response.set(http::field::set_cookie, SessionCookie(added.entry->id, false));
      reply(std::move(response));
    } catch (const std::exception& failure) {
      spdlog::error("The screen could not open: {}", LogText(failure.what(), 1000));
      reply(ErrorResponse(head, 500, "internal", "The screen could not open"));
    }
  });
}

void Server::Impl::Logout(const Request& request, const SessionStore::Entry& entry, Reply reply) {
  if (auto removed = store_.Remove(entry.id)) CloseOnItsThread(std::move(*removed));
  Response response = JsonResponse(request, http::status::ok, {{"ok", true}});
  response.set(http::field::set_cookie, SessionCookie("", true));
  reply(std::move(response));
}

void Server::Impl::ListSessions(const Request& request, const SessionStore::Entry& entry,
                                Reply reply) {
  json sessions = json::array();
  for (const auto& one : store_.OfUser(entry.user, entry.id, SessionStore::Clock::now())) {
    const auto started =
        std::chrono::duration_cast<std::chrono::seconds>(one.started.time_since_epoch());
    sessions.push_back(
        {{"current", one.current},
         {"started", started.count()},
         {"idle_seconds", std::chrono::duration_cast<std::chrono::seconds>(one.idle).count()},
         {"address", one.address}});
  }
  reply(JsonResponse(request, http::status::ok, {{"sessions", std::move(sessions)}}));
}

void Server::Impl::LogoutOthers(const Request& request, const SessionStore::Entry& entry,
                                Reply reply) {
  auto others = store_.RemoveOthers(entry.user, entry.id);
  const std::size_t ended = others.size();
  for (auto& other : others) CloseOnItsThread(std::move(other));
  if (ended > 0) spdlog::info("'{}' ended {} other sessions", LogText(entry.user), ended);
  reply(JsonResponse(request, http::status::ok, {{"ended", ended}}));
}

}  // namespace cn::web
