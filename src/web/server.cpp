#include "web/server.h"

#include <spdlog/spdlog.h>

#include <boost/asio/signal_set.hpp>
#include <future>
#include <stdexcept>

#include "web/floor.h"
#include "web/log_text.h"
#include "web/protocol_error.h"
#include "web/screens.h"
#include "web/server_connection.h"
#include "web/static_files.h"

namespace cn::web {
namespace {

namespace asio = boost::asio;
namespace beast = boost::beast;
namespace http = beast::http;
using tcp = asio::ip::tcp;
using nlohmann::json;

constexpr std::string_view kSessionsUnavailable =
    "The database is not available at the moment. Nothing has been written; please try again.";

// The widely used "intermediate" choice, less its finite-field Diffie-Hellman suites.
constexpr const char* kTls12Suites =
    "ECDHE-ECDSA-AES128-GCM-SHA256:ECDHE-RSA-AES128-GCM-SHA256:ECDHE-ECDSA-AES256-GCM-SHA384:"
    "ECDHE-RSA-AES256-GCM-SHA384:ECDHE-ECDSA-CHACHA20-POLY1305:ECDHE-RSA-CHACHA20-POLY1305";

}  // namespace

Server::Impl::Impl(ServerOptions options, std::shared_ptr<const UserDirectory> users,
                   ScreenFactory screens)
    : options_(std::move(options)),
      users_(std::move(users)),
      screens_(std::move(screens)),
      store_(options_.sessions, options_.session_records),
      devices_(options_.device_key),
      throttle_(options_.throttle, options_.failure_counts ? options_.failure_counts
                                                           : std::make_shared<MemoryFailureCounts>(
                                                                 options_.throttle.most_tracked,
                                                                 options_.throttle.forget_after)),
      passwords_(options_.password_threads, options_.most_waiting_logins) {
  if (options_.io_threads == 0) options_.io_threads = 1;
  if (options_.allowed_origins.empty()) options_.allowed_origins = {options_.bind, "localhost"};
  for (std::size_t i = 0; i < options_.io_threads; ++i)
    contexts_.push_back(std::make_unique<asio::io_context>(1));
}

void Server::Impl::Start() {
  if (!options_.tls_cert.empty() || !options_.tls_key.empty()) {
    namespace ssl = asio::ssl;
    tls_.emplace(ssl::context::tls_server);
    tls_->set_options(ssl::context::default_workarounds | ssl::context::no_sslv2 |
                      ssl::context::no_sslv3 | ssl::context::no_tlsv1 | ssl::context::no_tlsv1_1 |
                      ssl::context::single_dh_use);
    // TLS 1.2 with forward secrecy and authenticated encryption only (no static RSA key
    // exchange, no CBC); TLS 1.3's suites are all of that kind and stay as they are.
    SSL_CTX_set_cipher_list(tls_->native_handle(), kTls12Suites);
    beast::error_code error;
    tls_->use_certificate_chain_file(options_.tls_cert.string(), error);
    if (!error) tls_->use_private_key_file(options_.tls_key.string(), ssl::context::pem, error);
    if (error)
      throw std::runtime_error("Cannot use the certificate " + options_.tls_cert.string() +
                               " and key " + options_.tls_key.string() + ": " + error.message());
  }
  const std::size_t open_files = RaiseOpenFileLimit();
  const std::size_t most_connections =
      options_.most_connections > 0 ? options_.most_connections : open_files * 3 / 4;
  connections_.emplace(options_.most_connections_per_address, most_connections,
                       options_.trusted_proxies);
  auto& first = *contexts_.front();
  const tcp::endpoint endpoint(asio::ip::make_address(options_.bind), options_.port);
  acceptor_.emplace(first);
  acceptor_->open(endpoint.protocol());
  acceptor_->set_option(asio::socket_base::reuse_address(true));
  beast::error_code error;
  acceptor_->bind(endpoint, error);
  if (error)
    throw std::runtime_error("Cannot listen on " + options_.bind + ":" +
                             std::to_string(options_.port) + ": " + error.message());
  acceptor_->listen(asio::socket_base::max_listen_connections);
  port_ = acceptor_->local_endpoint().port();
  accept_pause_.emplace(first);
  Accept();
  sweeper_.emplace(first);
  Sweep();
  releaser_.emplace(first);
  ReleaseMemory();
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
  spdlog::info(
      "Serving on {}://{}:{}/ with {} I/O threads, at most {} connections ({} from one address)",
      Tls() ? "https" : "http", options_.bind, port_, contexts_.size(), most_connections,
      options_.most_connections_per_address);
}

void Server::Impl::Accept() {
  const std::size_t thread = NextConnectionThread();
  acceptor_->async_accept(*contexts_[thread],
                          [this, thread](beast::error_code error, tcp::socket socket) {
                            if (error == asio::error::operation_aborted || !acceptor_->is_open())
                              return;
                            if (error == beast::errc::too_many_files_open ||
                                error == beast::errc::too_many_files_open_in_system)
                              return PauseAccepting();
                            if (!error) Serve(thread, std::move(socket));
                            Accept();
                          });
}

void Server::Impl::Serve(std::size_t thread, tcp::socket socket) {
  beast::error_code error;
  const auto endpoint = socket.remote_endpoint(error);
  std::string peer = error ? std::string() : endpoint.address().to_string();
  auto place = connections_->Enter(peer);
  if (!place) return;  // closed as it goes
  // Answers are small and awaited one by one: do not let them wait for a delayed ACK.
  socket.set_option(tcp::no_delay(true), error);
  if (tls_) {
    std::make_shared<Connection<beast::ssl_stream<beast::tcp_stream>>>(
        *this, thread, std::move(socket), std::move(peer), std::move(*place), *tls_)
        ->Start();
  } else {
    std::make_shared<Connection<beast::tcp_stream>>(*this, thread, std::move(socket),
                                                    std::move(peer), std::move(*place))
        ->Start();
  }
}

// Out of descriptors, accepting again at once would fail again at once and spin: the
// connection idle longest gives its descriptor up, and accepting waits a moment for that (or,
// when none is idle, for any connection to end).
void Server::Impl::PauseAccepting() {
  const bool freed = connections_->CloseOldestIdle();
  const auto now = std::chrono::steady_clock::now();
  if (!last_told_out_of_descriptors_ ||
      now - *last_told_out_of_descriptors_ >= std::chrono::minutes(1)) {
    spdlog::warn("Out of file descriptors with {} connections open: closing the idlest, pausing",
                 connections_->open());
    last_told_out_of_descriptors_ = now;
  }
  accept_pause_->expires_after(freed ? std::chrono::milliseconds(1) : options_.accept_pause);
  accept_pause_->async_wait([this](beast::error_code error) {
    if (!error) Accept();
  });
}

void Server::Impl::Sweep() {
  const auto now = Now();
  std::optional<SessionStore::Clock::time_point> evict_before;
  if (options_.evict_idle_screens_after.count() > 0)
    evict_before = now - options_.evict_idle_screens_after;
  CloseAll(store_.Sweep(now, evict_before));
  sweeper_->expires_after(options_.sweep_interval);
  sweeper_->async_wait([this](beast::error_code error) {
    if (!error) Sweep();
  });
}

// Ended sessions free their page trees on every I/O thread; the allocator keeps what it got
// for later unless told to give it back.
void Server::Impl::ReleaseMemory() {
  ReleaseMemoryNow([] {});
  releaser_->expires_after(options_.release_interval);
  releaser_->async_wait([this](beast::error_code error) {
    if (!error) ReleaseMemory();
  });
}

// Each I/O thread keeps megabytes freed by its sessions for its own next use, out of the
// release's reach: each hands them back first, and the last one releases.
void Server::Impl::ReleaseMemoryNow(std::function<void()> done) {
  auto waiting = std::make_shared<std::atomic<std::size_t>>(contexts_.size());
  auto release = std::make_shared<std::function<void()>>([this, done = std::move(done)] {
    if (options_.release_memory) options_.release_memory();
    done();
  });
  for (auto& context : contexts_) {
    asio::post(*context, [waiting, release] {
      ReturnThreadCache();
      if (--*waiting == 0) (*release)();
    });
  }
}

void Server::Impl::OnHome(const std::shared_ptr<Session>& session, std::function<void()> task) {
  auto& home = *contexts_[session->home()];
  if (home.get_executor().running_in_this_thread()) return task();
  // A session moves only on its own thread, between tasks: a task that finds it gone follows.
  asio::post(home, [this, session, task = std::move(task)]() mutable {
    OnHome(session, std::move(task));
  });
}

void Server::Impl::CloseAll(SessionStore::Held screens) {
  for (auto& screen : screens) CloseOnItsThread(std::move(screen));
}

void Server::Impl::CloseOnItsThread(std::shared_ptr<Session> screen) {
  if (!screen) return;
  OnHome(screen, [session = screen] {
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
    releaser_->cancel();
    accept_pause_->cancel();
  });
  // Each session closes on its own thread; wait for all of them before the threads stop.
  std::vector<std::future<void>> closed;
  for (auto& screen : store_.TakeAll()) {
    auto done = std::make_shared<std::promise<void>>();
    closed.push_back(done->get_future());
    OnHome(screen, [session = screen, done] {
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
  passwords_.Join();
}

void Server::Impl::RunUntilSignalled() {
  asio::io_context signals_context;
  asio::signal_set signals(signals_context, SIGINT, SIGTERM);
  signals.async_wait([](beast::error_code, int) {});
  signals_context.run();
  spdlog::info("Stopping");
  Stop();
}

void Server::Impl::Handle(Request request, const std::string& peer, std::size_t here, Reply reply) {
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
    // The balancer asks every few seconds: the log says when the answer changes.
    if (healthy_.exchange(health.status == 200) != (health.status == 200))
      spdlog::warn("/healthz now answers {} {}", health.status,
                   LogText(std::string_view(health.body).substr(0, health.body.find('\n')), 1000));
    Response response = Basic(request, static_cast<http::status>(health.status));
    response.set(http::field::content_type, "text/plain");
    response.set(http::field::cache_control, "no-store");
    response.body() = health.body;
    response.prepare_payload();
    return reply(std::move(response));
  }
  if (IsEndorsementPath(path)) return ServeEndorsement(request, path, std::move(reply));
  if (path.starts_with("/login/")) {
    std::string address = ClientAddress(request, peer);
    return LoginStepRequest(std::move(request), path, std::move(address), std::move(reply));
  }
  if (!path.starts_with("/api/") && path != "/login") {
    if (method != http::verb::get && method != http::verb::head) {
      return reply(ErrorResponse(request, 405, "method", "Only GET is served here"));
    }
    if (path == "/") return reply(Redirect(request, http::status::found, "/app.html"));
    // Logged in already (the back button, a bookmark): the screen, not the login form again.
    const bool login_page = path == "/login.html";
    if (login_page && LiveSession(request)) {
      return reply(Redirect(request, http::status::found, "/app.html"));
    }
    const auto file = ReadStaticFile(options_.assets, path);
    if (!file)
      return reply(ErrorResponse(request, 404, "not-found", "Nothing is served at that address"));
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
    if (method != http::verb::post)
      return reply(ErrorResponse(request, 405, "method", "Log in with POST"));
    std::string address = ClientAddress(request, peer);
    return Login(std::move(request), std::move(address), std::move(reply));
  }

  const bool account_read = path == "/api/mfa" || path == "/api/mfa/qr.svg";
  const bool account_write =
      path == "/api/password" || path == "/api/mfa/begin" || path == "/api/mfa/confirm";
  const bool reads = path == "/api/state" || path == "/api/sessions" || account_read;
  const bool floor = options_.floor_endpoint && path == "/api/floor";
  const bool of_screen = path == "/api/state" || path == "/api/event" || path == "/api/answer" ||
                         path == "/api/dialog" || path == "/api/screen" || floor;
  if (!reads && !floor && !account_write && !of_screen && path != "/api/logout" &&
      path != "/api/logout-others") {
    return reply(ErrorResponse(request, 404, "not-found", "No such request"));
  }
  if ((reads && method != http::verb::get) || (!reads && method != http::verb::post)) {
    return reply(ErrorResponse(request, 405, "method", reads ? "Use GET" : "Use POST"));
  }
  SessionStore::Used used;
  try {
    used = store_.Use(SessionIdOf(request), Now());
  } catch (const std::exception& failure) {
    spdlog::error("A session could not be looked up: {}", LogText(failure.what(), 1000));
    return reply(ErrorResponse(request, 503, "unavailable", kSessionsUnavailable));
  }
  CloseAll(std::move(used.closing));
  if (!used.entry) return reply(NoSession(request, used.ended));
  const SessionStore::Entry& entry = *used.entry;
  if (path == "/api/sessions") return ListSessions(request, entry, std::move(reply));
  if (account_read)
    return AccountRequest(request, path, entry, ClientAddress(request, peer), std::move(reply));
  std::string screen_id;
  std::shared_ptr<Session> screen;
  if (of_screen) {
    const auto header = request.find(Bv(kScreenHeader));
    if (header != request.end()) screen_id = std::string(Sv(header->value()));
    if (!IsScreenId(screen_id)) {
      return reply(
          ErrorResponse(request, 400, "bad-screen", "The request does not name its tab's screen"));
    }
    if (path != "/api/screen") screen = entry.screens->Find(screen_id, Now());
    // A new tab, or one whose screen is not here (restarted, another server, let go while idle):
    // the tab opens it.
    if (path == "/api/state" && !screen) {
      return reply(
          JsonResponse(request, http::status::ok, {{"held", false}, {"csrf", entry.csrf}}));
    }
    if (path != "/api/screen" && !screen) {
      return reply(ErrorResponse(request, 410, "no-screen",
                                 "This server does not hold the screen of this tab"));
    }
  }
  if (path == "/api/state") {
    return OnSessionThread(request, screen, here, std::move(reply),
                           [csrf = entry.csrf](Session& session) {
                             json state = session.Render();
                             state["csrf"] = csrf;
                             return state;
                           });
  }
  const auto token = request.find(Bv(kCsrfHeader));
  if (token == request.end() || !SameToken(Sv(token->value()), entry.csrf)) {
    return reply(ErrorResponse(request, 403, "csrf", "The request lacks this session's token"));
  }
  if (path == "/api/logout") return Logout(request, entry, std::move(reply));
  if (path == "/api/logout-others") return LogoutOthers(request, entry, std::move(reply));
  if (account_write)
    return AccountRequest(request, path, entry, ClientAddress(request, peer), std::move(reply));
  json body = json::parse(request.body(), nullptr, false);
  if (body.is_discarded())
    return reply(ErrorResponse(request, 400, "bad-json", "The body is not JSON"));
  if (path == "/api/screen")
    return OpenScreen(request, entry, screen_id, std::move(body), std::move(reply));
  if (floor) {
    const auto bytes = FloorBytes(target);
    if (!bytes) {
      return reply(
          ErrorResponse(request, 400, "bad-request", "bytes=N is a number of bytes up to 4 MB"));
    }
    return OnSessionThread(request, screen, here, std::move(reply),
                           [bytes = *bytes](Session&) { return FloorFiller(bytes); });
  }
  OnSessionThread(request, screen, here, std::move(reply),
                  [body = std::move(body), path = std::string(path)](Session& session) {
                    if (path == "/api/event") return session.Event(body);
                    if (path == "/api/dialog") return session.DialogSearch(body);
                    return session.Answer(body);
                  });
}

bool Server::Impl::LiveSession(const Request& request) {
  try {
    auto used = store_.Use(SessionIdOf(request), Now());
    CloseAll(std::move(used.closing));
    return used.entry.has_value();
  } catch (const std::exception& failure) {
    spdlog::warn("A session could not be looked up for the login page: {}",
                 LogText(failure.what(), 1000));
    return false;  // the login page, then
  }
}

void Server::Impl::OnSessionThread(const Request& request, std::shared_ptr<Session> screen,
                                   std::size_t here, Reply reply,
                                   std::function<json(Session&)> work) {
  OnHome(screen, [session = screen, here, head = HeadOf(request), reply = std::move(reply),
                  work = std::move(work)] {
    try {
      reply(JsonResponse(head, http::status::ok, work(*session)));
    } catch (const ProtocolError& refusal) {
      reply(ErrorResponse(head, refusal.status(), refusal.code(), refusal.what()));
    } catch (const std::exception& failure) {
      spdlog::error("A session request failed: {}", LogText(failure.what(), 1000));
      reply(ErrorResponse(head, 500, "internal", "The request failed on the server"));
    }
    // The session moves to the thread of the connection its requests come on: its next request
    // is then served where it is read, with no hand-over to another thread and back.
    if (!session->HandlerSuspended()) session->home() = here;
  });
}

Server::Server(ServerOptions options, std::shared_ptr<const UserDirectory> users,
               ScreenFactory screens)
    : impl_(std::make_unique<Impl>(std::move(options), std::move(users), std::move(screens))) {}

Server::~Server() { impl_->Stop(); }

void Server::Start() { impl_->Start(); }
unsigned short Server::Port() const { return impl_->Port(); }
void Server::Stop() { impl_->Stop(); }
void Server::RunUntilSignalled() { impl_->RunUntilSignalled(); }
std::size_t Server::SessionCount() const { return impl_->SessionCount(); }
std::size_t Server::ScreenCount() const { return impl_->ScreenCount(); }
void Server::EvictIdleScreens(std::chrono::system_clock::duration idle_for) {
  impl_->EvictIdleScreens(idle_for);
}

void Server::Impl::EvictIdleScreens(std::chrono::system_clock::duration idle_for) {
  std::vector<std::future<void>> closed;
  const auto now = Now();
  for (auto& screen : store_.Sweep(now, now - idle_for)) {
    auto done = std::make_shared<std::promise<void>>();
    closed.push_back(done->get_future());
    OnHome(screen, [screen, done] {
      try {
        screen->Close();
      } catch (const std::exception& failure) {
        spdlog::warn("A screen did not close cleanly: {}", failure.what());
      }
      done->set_value();
    });
  }
  for (auto& one : closed) one.wait();
}
void Server::EndSessionsOf(std::string_view user) { impl_->EndSessionsOf(user); }
void Server::ForgetFailures(std::string_view user) { impl_->ForgetFailures(user); }

void Server::ReleaseMemory() {
  auto released = std::make_shared<std::promise<void>>();
  auto future = released->get_future();
  impl_->ReleaseMemoryNow([released] { released->set_value(); });
  // A stopped server's threads run nothing more.
  future.wait_for(std::chrono::seconds(10));
}

}  // namespace cn::web
