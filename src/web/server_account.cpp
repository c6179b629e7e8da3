// The steps a login may take after its password (a code of the second factor, a password of the
// user's own, the enrolment of a second factor) and the user's own account from his screen (a
// new password, a second factor). Everything that reads or writes the directory runs on the
// password threads; codes are throttled as passwords are.
#include <spdlog/spdlog.h>

#include "web/form.h"
#include "web/log_text.h"
#include "web/origin_check.h"
#include "web/password_rules.h"
#include "web/qr_svg.h"
#include "web/second_factor.h"
#include "web/server_impl.h"
#include "web/utf8.h"

namespace cn::web {
namespace {

namespace http = boost::beast::http;
using nlohmann::json;

constexpr std::string_view kUnavailable =
    "Logging in is not possible at the moment; please try again shortly.";
constexpr std::string_view kWrongCode = "The code is not right.";

std::string_view StepName(LoginStep step) {
  switch (step) {
    case LoginStep::kCode: return "code";
    case LoginStep::kPassword: return "password";
    case LoginStep::kEnrol: return "enrol";
  }
  return "";
}

Response Svg(const Request& head, const std::string& svg) {
  Response response = Basic(head, http::status::ok);
  response.set(http::field::content_type, "image/svg+xml");
  response.set(http::field::cache_control, "no-store");
  response.body() = svg;
  response.prepare_payload();
  return response;
}

// A password the rules refuse: why, and zxcvbn's hints.
Response Weak(const Request& head, const PasswordVerdict& verdict) {
  return JsonResponse(head, http::status::bad_request,
                      {{"error", "weak"}, {"message", verdict.message}, {"hints", verdict.hints}});
}

std::function<void()> Answer(const Reply& reply, Response response) {
  return [reply, response = std::move(response)] { reply(response); };
}

Response Throttled(const Request& head, const LoginThrottle::Decision& decision) {
  const auto seconds = std::max<long long>(
      1, std::chrono::ceil<std::chrono::seconds>(decision.wait).count());
  Response response = ErrorResponse(
      head, 429, decision.verdict == LoginThrottle::Verdict::kLocked ? "locked" : "throttled",
      "Too many wrong attempts. Wait " + std::to_string(seconds) +
          (seconds == 1 ? " second" : " seconds") + " before trying again.");
  response.set(http::field::retry_after, std::to_string(seconds));
  return response;
}

// A text member of a JSON body; "" when absent or not text.
std::string Member(const json& body, const char* name) {
  const auto it = body.find(name);
  return it != body.end() && it->is_string() ? it->get<std::string>() : std::string();
}

}  // namespace

void Server::Impl::OffThread(const Request& head, std::string client,
                             std::function<Response()> work, Reply reply) {
  auto shared_reply = std::make_shared<Reply>(std::move(reply));
  auto request = std::make_shared<const Request>(HeadOf(head));
  const bool taken = passwords_.TryPost(
      PasswordPool::Lane::kTrusted, std::move(client),
      [work = std::move(work), shared_reply, request]() -> std::function<void()> {
        try {
          return Answer(*shared_reply, work());
        } catch (const std::exception& failure) {
          spdlog::error("An account request failed: {}", LogText(failure.what(), 1000));
          return Answer(*shared_reply, ErrorResponse(*request, 503, "unavailable", kUnavailable));
        }
      });
  if (!taken) {
    (*shared_reply)(
        ErrorResponse(*request, 503, "busy", "The server is busy, try again in a moment."));
  }
}

void Server::Impl::LoginStepRequest(Request request, std::string_view path, std::string address,
                                    Reply reply) {
  const std::string token = CookieOf(request, kLoginCookie, kSecureLoginCookie);
  auto found = pending_.Find(token, Now());
  if (!found) {
    return reply(ErrorResponse(request, 401, "no-login", "The login has ended; log in again."));
  }
  PendingLogin pending = std::move(*found);
  const std::string user = pending.attempt.user;
  const bool get = request.method() == http::verb::get;
  if (path == "/login/step" && get) {
    json answer{{"step", StepName(pending.step)}, {"user", user}};
    if (pending.step == LoginStep::kEnrol) {
      answer["secret"] = pending.secret;
      answer["qr"] = "/login/qr.svg";
    }
    return reply(JsonResponse(request, http::status::ok, answer));
  }
  if (path == "/login/qr.svg" && get) {
    if (pending.step != LoginStep::kEnrol || pending.secret.empty())
      return reply(ErrorResponse(request, 404, "not-found", "No second factor waits to be set up"));
    return reply(Svg(request, QrSvg(TotpUri(options_.issuer, user, pending.secret))));
  }
  if (request.method() != http::verb::post)
    return reply(ErrorResponse(request, 405, "method", "Use POST"));
  const auto origin = request.find(http::field::origin);
  if (origin != request.end() && !OriginAllowed(Sv(origin->value()), options_.allowed_origins))
    return reply(ErrorResponse(request, 403, "origin", "Log in from this server's own page"));
  const auto fields = ParseForm(request.body());
  for (const auto& [name, value] : fields) {
    if (!IsUtf8(name) || !IsUtf8(value))
      return reply(ErrorResponse(request, 400, "bad-text", "The form must be text."));
  }
  const std::string value(FormValue(fields, path == "/login/password" ? "password" : "code"));
  const LoginStep expected = path == "/login/code"       ? LoginStep::kCode
                             : path == "/login/password" ? LoginStep::kPassword
                                                         : LoginStep::kEnrol;
  if (pending.step != expected || value.size() > kMostPasswordBytes)
    return reply(ErrorResponse(request, 409, "out-of-turn", "That step is not the one waiting"));
  if (expected != LoginStep::kPassword) {
    const auto decision = throttle_.Check(pending.attempt, LoginThrottle::Clock::now());
    if (decision.verdict != LoginThrottle::Verdict::kTry)
      return reply(Throttled(request, decision));
  }
  const LoginRequest login{HeadOf(request), pending.attempt, pending.trusted, "", true,
                           pending.device_cookie, true};
  auto shared_reply = std::make_shared<Reply>(std::move(reply));
  const bool taken = passwords_.TryPost(
      PasswordPool::Lane::kTrusted, "login " + token,
      [this, login, pending, token, value, expected, shared_reply,
       address]() mutable -> std::function<void()> {
        const Reply& reply = *shared_reply;
        const std::string& user = pending.attempt.user;
        try {
          if (expected == LoginStep::kPassword) {
            const auto verdict = JudgePassword(value, user, {pending.account.identity.agent_code});
            if (!verdict.accepted) return Answer(reply, Weak(login.head, verdict));
            users_->ChangePassword(user, value);
            users_->Record({user, "password changed", address, "chosen at the login"});
            pending_.Remove(token);
            EndSessionsOf(user);
            return Proceed(login, std::move(pending), expected, json::object(), reply);
          }
          bool recovery = false;
          std::optional<std::vector<std::string>> codes;
          const bool right = expected == LoginStep::kCode
                                 ? users_->CheckCode(user, value, recovery)
                                 : (codes = users_->ConfirmEnrolment(user, value)).has_value();
          if (!right) {
            const auto failure =
                throttle_.Failed(pending.attempt, pending.trusted, LoginThrottle::Clock::now());
            users_->Record({user, "code failed", address, std::string(StepName(expected))});
            if (failure.locked) users_->Record({user, "locked", address, "15 minutes"});
            spdlog::info("Refused a code for '{}' from {}", LogText(user), address);
            if (++pending.wrong_codes >= PendingLogins::kMostWrongCodes) {
              pending_.Remove(token);
              return Answer(reply, ErrorResponse(login.head, 401, "no-login",
                                                 "Too many wrong codes: log in again."));
            }
            pending_.Replace(token, pending);
            return Answer(reply, ErrorResponse(login.head, 401, "refused", kWrongCode));
          }
          throttle_.Succeeded(pending.attempt, pending.trusted);
          pending_.Remove(token);
          json extra = json::object();
          if (recovery) {
            users_->Record({user, "recovery code used", address,
                            std::to_string(users_->SecondFactorOf(user).recovery_codes_left) +
                                " left"});
          }
          if (codes) {
            users_->Record({user, "mfa enrolled", address, "at the login"});
            pending.account.has_second_factor = true;
            extra["recovery_codes"] = *codes;
          }
          return Proceed(login, std::move(pending), expected, std::move(extra), reply);
        } catch (const std::exception& failure) {
          spdlog::error("A login step of '{}' from {} failed: {}", LogText(user), address,
                        LogText(failure.what(), 1000));
          return Answer(reply, ErrorResponse(login.head, 503, "unavailable", kUnavailable));
        }
      });
  if (!taken) {
    (*shared_reply)(
        ErrorResponse(request, 503, "busy", "The server is busy, try again in a moment."));
  }
}

void Server::Impl::AccountRequest(const Request& request, std::string_view path,
                                  const SessionStore::Entry& entry, const std::string& address,
                                  Reply reply) {
  const std::string user = entry.user();
  const std::string client = "account " + user;
  if (path == "/api/mfa") {
    return OffThread(request, client, [this, user, head = HeadOf(request)] {
      const SecondFactor factor = users_->SecondFactorOf(user);
      return JsonResponse(head, http::status::ok,
                          {{"enrolled", factor.enrolled},
                           {"required", factor.required},
                           {"recovery_codes_left", factor.recovery_codes_left}});
    }, std::move(reply));
  }
  if (path == "/api/mfa/qr.svg") {
    return OffThread(request, client, [this, user, head = HeadOf(request)] {
      const auto secret = users_->PendingEnrolment(user);
      if (!secret)
        return ErrorResponse(head, 404, "not-found", "No second factor waits to be set up");
      return Svg(head, QrSvg(TotpUri(options_.issuer, user, *secret)));
    }, std::move(reply));
  }
  if (path == "/api/mfa/begin") {
    return OffThread(request, client, [this, user, head = HeadOf(request)] {
      const auto secret = users_->BeginEnrolment(user);
      if (!secret)
        return ErrorResponse(head, 409, "enrolled", "Your second factor is set up already.");
      return JsonResponse(head, http::status::ok,
                          {{"secret", *secret}, {"qr", "/api/mfa/qr.svg"}});
    }, std::move(reply));
  }
  const json body = json::parse(request.body(), nullptr, false);
  if (!body.is_object())
    return reply(ErrorResponse(request, 400, "bad-json", "The body is not a JSON object"));
  const LoginAttempt attempt = AttemptOf(request, user, address);
  const auto decision = throttle_.Check(attempt, LoginThrottle::Clock::now());
  if (decision.verdict != LoginThrottle::Verdict::kTry) return reply(Throttled(request, decision));
  const auto failed = [this, attempt, trusted = decision.trusted, address](std::string what) {
    const auto failure = throttle_.Failed(attempt, trusted, LoginThrottle::Clock::now());
    users_->Record({attempt.user, what, address, "from his screen"});
    if (failure.locked) users_->Record({attempt.user, "locked", address, "15 minutes"});
  };
  if (path == "/api/mfa/confirm") {
    return OffThread(request, client, [this, user, address, failed, code = Member(body, "code"),
                                       head = HeadOf(request)] {
      const auto codes = users_->ConfirmEnrolment(user, code);
      if (!codes) {
        failed("code failed");
        return ErrorResponse(head, 401, "refused", kWrongCode);
      }
      users_->Record({user, "mfa enrolled", address, "from his screen"});
      return JsonResponse(head, http::status::ok, {{"recovery_codes", *codes}});
    }, std::move(reply));
  }
  // POST /api/password: the current password again, and the new one.
  OffThread(request, client, [this, user, address, failed, id = entry.id,
                              current = Member(body, "current"),
                              password = Member(body, "password"), head = HeadOf(request)] {
    const auto account = current.size() <= kMostPasswordBytes
                             ? users_->Authenticate(user, current)
                             : std::nullopt;
    if (!account) {
      failed("password change refused");
      return ErrorResponse(head, 401, "refused", "The current password is not right.");
    }
    if (password == current) {
      return JsonResponse(head, http::status::bad_request,
                          {{"error", "weak"},
                           {"message", "Choose a password other than the current one."},
                           {"hints", json::array()}});
    }
    const auto verdict = JudgePassword(password, user, {account->identity.agent_code});
    if (!verdict.accepted) return Weak(head, verdict);
    users_->ChangePassword(user, password);
    users_->Record({user, "password changed", address, "from his screen"});
    auto others = store_.EndOfUser(user, id, session_end::kPasswordChanged, Now());
    const std::size_t ended = others.count;
    CloseAll(std::move(others.closing));
    spdlog::info("'{}' changed his password from {}; {} other sessions ended", LogText(user),
                 address, ended);
    return JsonResponse(head, http::status::ok, {{"ended", ended}});
  }, std::move(reply));
}

}  // namespace cn::web
