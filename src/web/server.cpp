#include "web/server.h"

#include <spdlog/spdlog.h>

#include <atomic>
#include <future>
#include <optional>
#include <stdexcept>
#include <thread>
#include <vector>

#include <boost/asio.hpp>
#include <boost/asio/signal_set.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>

#include "web/form.h"
#include "web/json_text.h"
#include "web/protocol_error.h"
#include "web/static_files.h"

namespace cn::web {
namespace {

namespace asio = boost::asio;
namespace beast = boost::beast;
namespace http = beast::http;
using tcp = asio::ip::tcp;
using nlohmann::json;
using Request = http::request<http::string_body>;
using Response = http::response<http::string_body>;
using Reply = std::function<void(Response)>;

constexpr std::string_view kContentSecurityPolicy =
    "default-src 'none'; script-src 'self'; style-src 'self'; style-src-attr 'unsafe-inline'; "
    "img-src 'self' data:; connect-src 'self'; form-action 'self'; base-uri 'none'; frame-ancestors 'none'";
constexpr std::size_t kMostHeaderBytes = 8 * 1024;
constexpr std::size_t kMostCredentialBytes = 1024;

// Boost 1.74 has its own string_view.
beast::string_view Bv(std::string_view text) { return {text.data(), text.size()}; }
std::string_view Sv(beast::string_view text) { return {text.data(), text.size()}; }

std::string Dump(const json& value) { return JsonText(value); }

Response Basic(const Request& request, http::status status) {
  Response response{status, request.version()};
  response.set(http::field::server, "covernote");
  response.set("Content-Security-Policy", Bv(kContentSecurityPolicy));
  response.set("X-Content-Type-Options", "nosniff");
  response.set("Referrer-Policy", "no-referrer");
  response.set("X-Frame-Options", "DENY");
  response.keep_alive(request.keep_alive());
  return response;
}

Response JsonResponse(const Request& request, http::status status, const json& body) {
  Response response = Basic(request, status);
  response.set(http::field::content_type, "application/json");
  response.set(http::field::cache_control, "no-store");
  response.body() = Dump(body);
  response.prepare_payload();
  return response;
}

Response ErrorResponse(const Request& request, int status, std::string_view code, std::string_view message) {
  return JsonResponse(request, static_cast<http::status>(status), {{"error", code}, {"message", message}});
}

Response Redirect(const Request& request, http::status status, std::string_view location) {
  Response response = Basic(request, status);
  response.set(http::field::location, Bv(location));
  response.set(http::field::cache_control, "no-store");
  response.prepare_payload();
  return response;
}

std::string SessionIdOf(const Request& request) {
  const auto header = request.find(http::field::cookie);
  if (header == request.end()) return "";
  return std::string(CookieValue(Sv(header->value()), kSessionCookie));
}

// The login page's script logs in without leaving the page, and asks for JSON to say so.
bool AsksForJson(const Request& request) {
  const auto accept = request.find(http::field::accept);
  return accept != request.end() &&
         Sv(accept->value()).find("application/json") != std::string_view::npos;
}

// A refused login: the page's script keeps what was typed; a plain form goes back to the page.
Response RefusedLogin(const Request& head, bool wants_json) {
  if (wants_json) {
    return ErrorResponse(head, 401, "refused", "The user name or password is not right.");
  }
  return Redirect(head, http::status::see_other, "/login.html?failed=1");
}

std::string SessionCookie(std::string_view id, bool clear) {
  std::string cookie = std::string(kSessionCookie) + "=" + std::string(id) + "; Path=/; HttpOnly; SameSite=Strict";
  if (clear) cookie += "; Max-Age=0";
  return cookie;
}

}  // namespace

class Server::Impl {
 public:
  Impl(ServerOptions options, std::shared_ptr<const UserDirectory> users, ScreenFactory screens)
      : options_(std::move(options)),
        users_(std::move(users)),
        screens_(std::move(screens)),
        store_(options_.sessions),
        passwords_(1) {
    if (options_.io_threads == 0) options_.io_threads = 1;
    for (std::size_t i = 0; i < options_.io_threads; ++i) contexts_.push_back(std::make_unique<asio::io_context>(1));
  }

  void Start();
  void Stop();
  void RunUntilSignalled();
  unsigned short Port() const { return port_; }
  std::size_t SessionCount() const { return store_.size(); }

  // Answers one request; `reply` is called exactly once, on any thread.
  void Handle(Request request, Reply reply);

 private:
  class Connection;

  void Accept();
  void Sweep();
  void Login(Request request, Reply reply);
  void Logout(const Request& request, const SessionStore::Entry& entry, Reply reply);
  // Runs `work` on the session's own thread and replies with its JSON or its refusal.
  void OnSessionThread(const Request& request, SessionStore::Entry entry, Reply reply,
                       std::function<json(Session&)> work);
  void CloseOnItsThread(SessionStore::Entry entry);
  // Connections and sessions are spread over the I/O threads each in their own turn: sharing
  // one turn, a login's connection and its session would always land on alternate threads
  // and every session on the same one.
  std::size_t NextConnectionThread() { return next_connection_thread_++ % contexts_.size(); }
  std::size_t NextHome() { return next_home_++ % contexts_.size(); }

  ServerOptions options_;
  std::shared_ptr<const UserDirectory> users_;
  ScreenFactory screens_;
  // A few free stacks per I/O thread are enough: a stack is busy only while an event runs or a
  // prompt waits.
  std::shared_ptr<FiberStacks> stacks_ = std::make_shared<FiberStacks>(8);
  SessionStore store_;
  std::vector<std::unique_ptr<asio::io_context>> contexts_;
  std::vector<asio::executor_work_guard<asio::io_context::executor_type>> guards_;
  std::vector<std::thread> threads_;
  std::optional<tcp::acceptor> acceptor_;
  std::optional<asio::steady_timer> sweeper_;
  asio::thread_pool passwords_;  // the memory-hard hash runs here, not on the I/O threads
  std::atomic<std::size_t> next_home_{0};
  std::atomic<std::size_t> next_connection_thread_{0};
  unsigned short port_ = 0;
  bool stopped_ = false;
};

// One client connection: reads a request, answers it, and reads the next while the client
// keeps the connection.
class Server::Impl::Connection : public std::enable_shared_from_this<Connection> {
 public:
  Connection(Impl& server, tcp::socket socket) : server_(server), stream_(std::move(socket)) {}

  void Read() {
    parser_.emplace();
    parser_->body_limit(server_.options_.most_body_bytes);
    parser_->header_limit(kMostHeaderBytes);
    stream_.expires_after(server_.options_.request_timeout);
    http::async_read(stream_, buffer_, *parser_,
                     [self = shared_from_this()](beast::error_code error, std::size_t) { self->OnRead(error); });
  }

 private:
  void OnRead(beast::error_code error) {
    if (error == http::error::end_of_stream) return Shutdown();
    if (error == http::error::body_limit) {
      Request head;
      head.version(11);
      head.keep_alive(false);
      return Write(ErrorResponse(head, 413, "too-large", "The request body is too large"));
    }
    if (error) {
      if (error != beast::error::timeout && error != asio::error::operation_aborted) {
        Request head;
        head.version(11);
        head.keep_alive(false);
        return Write(ErrorResponse(head, 400, "bad-request", "The request could not be read"));
      }
      return Shutdown();
    }
    stream_.expires_never();
    auto executor = stream_.get_executor();
    server_.Handle(parser_->release(), [self = shared_from_this(), executor](Response response) {
      asio::post(executor, [self, response = std::move(response)]() mutable { self->Write(std::move(response)); });
    });
  }

  void Write(Response response) {
    response_ = std::move(response);
    stream_.expires_after(server_.options_.request_timeout);
    http::async_write(stream_, response_, [self = shared_from_this()](beast::error_code error, std::size_t) {
      if (error) return self->Shutdown();
      if (!self->response_.keep_alive()) return self->Shutdown();
      self->Read();
    });
  }

  void Shutdown() {
    beast::error_code ignored;
    stream_.socket().shutdown(tcp::socket::shutdown_send, ignored);
  }

  Impl& server_;
  beast::tcp_stream stream_;
  beast::flat_buffer buffer_;
  std::optional<http::request_parser<http::string_body>> parser_;
  Response response_;
};

void Server::Impl::Start() {
  auto& first = *contexts_.front();
  const tcp::endpoint endpoint(asio::ip::make_address(options_.bind), options_.port);
  acceptor_.emplace(first);
  acceptor_->open(endpoint.protocol());
  acceptor_->set_option(asio::socket_base::reuse_address(true));
  beast::error_code error;
  acceptor_->bind(endpoint, error);
  if (error) throw std::runtime_error("Cannot listen on " + options_.bind + ":" + std::to_string(options_.port) +
                                      ": " + error.message());
  acceptor_->listen(asio::socket_base::max_listen_connections);
  port_ = acceptor_->local_endpoint().port();
  Accept();
  sweeper_.emplace(first);
  Sweep();
  for (auto& context : contexts_) guards_.push_back(asio::make_work_guard(*context));
  for (auto& context : contexts_) {
    threads_.emplace_back([&context] {
      for (;;) {
        try {
          context->run();
          return;
        } catch (const std::exception& failure) {
          spdlog::error("Unexpected failure on an I/O thread: {}", failure.what());
        }
      }
    });
  }
  spdlog::info("Serving on http://{}:{}/ with {} I/O threads", options_.bind, port_, contexts_.size());
}

void Server::Impl::Accept() {
  auto& context = *contexts_[NextConnectionThread()];
  acceptor_->async_accept(context, [this](beast::error_code error, tcp::socket socket) {
    if (error == asio::error::operation_aborted || !acceptor_->is_open()) return;
    if (!error) {
      // Answers are small and awaited one by one: do not let them wait for a delayed ACK.
      beast::error_code ignored;
      socket.set_option(tcp::no_delay(true), ignored);
      std::make_shared<Connection>(*this, std::move(socket))->Read();
    }
    Accept();
  });
}

void Server::Impl::Sweep() {
  for (auto& entry : store_.TakeExpired(SessionStore::Clock::now())) CloseOnItsThread(std::move(entry));
  sweeper_->expires_after(options_.sweep_interval);
  sweeper_->async_wait([this](beast::error_code error) {
    if (!error) Sweep();
  });
}

void Server::Impl::CloseOnItsThread(SessionStore::Entry entry) {
  asio::post(*contexts_[entry.home], [session = std::move(entry.session)] {
    try {
      session->Close();
    } catch (const std::exception& failure) {
      spdlog::warn("A session did not close cleanly: {}", failure.what());
    }
  });
}

void Server::Impl::Stop() {
  if (stopped_ || threads_.empty()) return;
  stopped_ = true;
  asio::post(*contexts_.front(), [this] {
    beast::error_code ignored;
    acceptor_->close(ignored);
    sweeper_->cancel();
  });
  // Each session closes on its own thread; wait for all of them before the threads stop.
  std::vector<std::future<void>> closed;
  for (auto& entry : store_.TakeAll()) {
    auto done = std::make_shared<std::promise<void>>();
    closed.push_back(done->get_future());
    asio::post(*contexts_[entry.home], [session = std::move(entry.session), done] {
      try {
        session->Close();
      } catch (const std::exception& failure) {
        spdlog::warn("A session did not close cleanly: {}", failure.what());
      }
      done->set_value();
    });
  }
  for (auto& one : closed) one.wait();
  for (auto& guard : guards_) guard.reset();
  for (auto& context : contexts_) context->stop();
  for (auto& thread : threads_) thread.join();
  passwords_.join();
}

void Server::Impl::RunUntilSignalled() {
  asio::io_context signals_context;
  asio::signal_set signals(signals_context, SIGINT, SIGTERM);
  signals.async_wait([](beast::error_code, int) {});
  signals_context.run();
  spdlog::info("Stopping");
  Stop();
}

void Server::Impl::Handle(Request request, Reply reply) {
  const std::string target(request.target());
  const std::string_view path = std::string_view(target).substr(0, target.find('?'));
  const auto method = request.method();
  if (options_.metrics) {
    reply = [metrics = options_.metrics, route = MetricRoute(path, request.body()),
             reply = std::move(reply),
             start = std::chrono::steady_clock::now()](Response response) {
      const auto location = response[http::field::location];
      RecordRequest(*metrics, route, response.result_int(),
                    std::string_view(location.data(), location.size()),
                    std::chrono::steady_clock::now() - start);
      reply(std::move(response));
    };
  }
  if (path == "/healthz") {
    const HealthAnswer health = CheckHealth(options_.health_check, options_.server_name);
    Response response = Basic(request, static_cast<http::status>(health.status));
    response.set(http::field::content_type, "text/plain");
    response.set(http::field::cache_control, "no-store");
    response.body() = health.body;
    response.prepare_payload();
    return reply(std::move(response));
  }
  if (!path.starts_with("/api/") && path != "/login") {
    if (method != http::verb::get && method != http::verb::head) {
      return reply(ErrorResponse(request, 405, "method", "Only GET is served here"));
    }
    if (path == "/") return reply(Redirect(request, http::status::found, "/app.html"));
    // Logged in already (the back button, a bookmark): the screen, not the login form again.
    const bool login_page = path == "/login.html";
    if (login_page && store_.Use(SessionIdOf(request), SessionStore::Clock::now())) {
      return reply(Redirect(request, http::status::found, "/app.html"));
    }
    const auto file = ReadStaticFile(options_.assets, path);
    if (!file) return reply(ErrorResponse(request, 404, "not-found", "Nothing is served at that address"));
    const auto if_none_match = request.find(http::field::if_none_match);
    if (if_none_match != request.end() && if_none_match->value() == file->etag) {
      Response response = Basic(request, http::status::not_modified);
      response.set(http::field::etag, file->etag);
      response.prepare_payload();
      return reply(std::move(response));
    }
    Response response = Basic(request, http::status::ok);
    response.set(http::field::content_type, file->content_type);
    response.set(http::field::etag, file->etag);
    // The login page is asked for each time it is shown, so that the server can send a
    // logged-in browser on to the screen.
    response.set(http::field::cache_control, login_page ? "no-store" : "no-cache");
    if (method != http::verb::head) response.body() = file->body;
    response.prepare_payload();
    return reply(std::move(response));
  }
  if (path == "/login") {
    if (method != http::verb::post) return reply(ErrorResponse(request, 405, "method", "Log in with POST"));
    return Login(std::move(request), std::move(reply));
  }

  const bool reads = path == "/api/state";
  if (!reads && path != "/api/event" && path != "/api/answer" && path != "/api/dialog" &&
      path != "/api/logout") {
    return reply(ErrorResponse(request, 404, "not-found", "No such request"));
  }
  if ((reads && method != http::verb::get) || (!reads && method != http::verb::post)) {
    return reply(ErrorResponse(request, 405, "method", reads ? "Use GET" : "Use POST"));
  }
  auto entry = store_.Use(SessionIdOf(request), SessionStore::Clock::now());
  if (!entry) return reply(ErrorResponse(request, 401, "no-session", "Not logged in, or the session has ended"));
  if (reads) {
    return OnSessionThread(request, *entry, std::move(reply), [csrf = entry->csrf](Session& session) {
      json state = session.Render();
      state["csrf"] = csrf;
      return state;
    });
  }
  const auto token = request.find(Bv(kCsrfHeader));
  if (token == request.end() || !SameToken(Sv(token->value()), entry->csrf)) {
    return reply(ErrorResponse(request, 403, "csrf", "The request lacks this session's token"));
  }
  if (path == "/api/logout") return Logout(request, *entry, std::move(reply));
  json body = json::parse(request.body(), nullptr, false);
  if (body.is_discarded()) return reply(ErrorResponse(request, 400, "bad-json", "The body is not JSON"));
  OnSessionThread(request, *entry, std::move(reply), [body = std::move(body), path = std::string(path)](Session& session) {
    if (path == "/api/event") return session.Event(body);
    if (path == "/api/dialog") return session.DialogSearch(body);
    return session.Answer(body);
  });
}

void Server::Impl::OnSessionThread(const Request& request, SessionStore::Entry entry, Reply reply,
                                   std::function<json(Session&)> work) {
  Request head;  // what the answer needs of the request
  head.version(request.version());
  head.keep_alive(request.keep_alive());
  asio::post(*contexts_[entry.home], [session = entry.session, head = std::move(head), reply = std::move(reply),
                                      work = std::move(work)] {
    try {
      reply(JsonResponse(head, http::status::ok, work(*session)));
    } catch (const ProtocolError& refusal) {
      reply(ErrorResponse(head, refusal.status(), refusal.code(), refusal.what()));
    } catch (const std::exception& failure) {
      spdlog::error("A session request failed: {}", failure.what());
      reply(ErrorResponse(head, 500, "internal", "The request failed on the server"));
    }
  });
}

void Server::Impl::Login(Request request, Reply reply) {
  const auto origin = request.find(http::field::origin);
  const auto host = request.find(http::field::host);
  if (origin != request.end() && origin->value() != "null" &&
      (host == request.end() ||
       (origin->value() != "http://" + std::string(host->value()) &&
        origin->value() != "https://" + std::string(host->value())))) {
    return reply(ErrorResponse(request, 403, "origin", "Log in from this server's own page"));
  }
  const auto fields = ParseForm(request.body());
  const std::string user(FormValue(fields, "user"));
  const std::string password(FormValue(fields, "password"));
  const bool wants_json = AsksForJson(request);
  if (user.empty() || user.size() > kMostCredentialBytes || password.size() > kMostCredentialBytes) {
    return reply(RefusedLogin(request, wants_json));
  }
  Request head;
  head.version(request.version());
  head.keep_alive(request.keep_alive());
  asio::post(passwords_, [this, head = std::move(head), user, password, wants_json,
                          reply = std::move(reply)]() mutable {
    const auto identity = users_->Authenticate(user, password);
    if (!identity) {
      spdlog::info("Refused a login for '{}'", user);
      return reply(RefusedLogin(head, wants_json));
    }
    const std::size_t home = NextHome();
    asio::post(*contexts_[home], [this, head = std::move(head), identity = *identity, home, user,
                                  wants_json, reply = std::move(reply)] {
      try {
        auto session = std::make_shared<Session>(identity, screens_, stacks_);
        session->Open();
        auto entry = store_.Add(session, home, SessionStore::Clock::now());
        if (!entry) {
          session->Close();
          return reply(ErrorResponse(head, 503, "busy", "Too many sessions; try again later"));
        }
        spdlog::info("'{}' logged in", user);
        Response response = wants_json
                                ? JsonResponse(head, http::status::ok, {{"location", "/app.html"}})
                                : Redirect(head, http::status::see_other, "/app.html");
        response.set(http::field::set_cookie, SessionCookie(entry->id, false));
        reply(std::move(response));
      } catch (const std::exception& failure) {
        spdlog::error("The screen could not open: {}", failure.what());
        reply(ErrorResponse(head, 500, "internal", "The screen could not open"));
      }
    });
  });
}

void Server::Impl::Logout(const Request& request, const SessionStore::Entry& entry, Reply reply) {
  if (auto removed = store_.Remove(entry.id)) CloseOnItsThread(std::move(*removed));
  Response response = JsonResponse(request, http::status::ok, {{"ok", true}});
  response.set(http::field::set_cookie, SessionCookie("", true));
  reply(std::move(response));
}

Server::Server(ServerOptions options, std::shared_ptr<const UserDirectory> users, ScreenFactory screens)
    : impl_(std::make_unique<Impl>(std::move(options), std::move(users), std::move(screens))) {}

Server::~Server() { impl_->Stop(); }

void Server::Start() { impl_->Start(); }
unsigned short Server::Port() const { return impl_->Port(); }
void Server::Stop() { impl_->Stop(); }
void Server::RunUntilSignalled() { impl_->RunUntilSignalled(); }
std::size_t Server::SessionCount() const { return impl_->SessionCount(); }

}  // namespace cn::web
