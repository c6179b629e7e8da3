#include "web/operations.h"

#include <spdlog/spdlog.h>

#include <algorithm>
#include <boost/asio.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>
#include <cctype>
#include <nlohmann/json.hpp>
#include <utility>

namespace cn::web {
namespace {

namespace asio = boost::asio;
namespace beast = boost::beast;
namespace http = beast::http;

// An event's name is a short word ("onclick", "onblur"); anything else is not a name.
bool IsEventName(const std::string& name) {
  return !name.empty() && name.size() <= 32 && std::all_of(name.begin(), name.end(), [](char c) {
    return std::isalnum(static_cast<unsigned char>(c)) != 0;
  });
}

}  // namespace

void NameTheLogs(std::string_view server_name) {
  spdlog::set_pattern("[%Y-%m-%d %H:%M:%S.%e] [" + std::string(server_name) + "] [%l] %v");
}

HealthAnswer CheckHealth(const HealthCheck& check, std::string_view server_name) {
  std::string problem;
  try {
    problem = check ? check() : std::string();
  } catch (const std::exception& failure) {
    problem = failure.what();
  }
  if (problem.empty()) return {200, "ok " + std::string(server_name) + "\n"};
  return {503, "unavailable " + std::string(server_name) + ": " + problem + "\n"};
}

std::string MetricRoute(std::string_view path, std::string_view body) {
  if (path == "/api/event") {
    const auto request = nlohmann::json::parse(body, nullptr, false);
    std::string route(path);
    for (const char* member : {"kind", "event"}) {
      const auto word = request.is_object() ? request.find(member) : request.end();
      if (word == request.end() || !word->is_string()) continue;
      const std::string name = word->get<std::string>();
      route += " " + (IsEventName(name) ? name : std::string("other"));
    }
    return route;
  }
  if (path.starts_with("/api/") || path == "/login" || path == "/healthz") return std::string(path);
  return "static";
}

void RecordRequest(Metrics& metrics, std::string_view route_name, int status,
                   std::string_view location, std::chrono::steady_clock::duration took) {
  const std::string route = Metrics::Label("route", route_name);
  metrics.Observe("covernote_http_request_seconds", "Requests answered, by route", route,
                  std::chrono::duration<double>(took).count());
  const bool refused_login = route_name == "/login" &&
                             (status == 401 || location.find("failed") != std::string_view::npos);
  if (refused_login) metrics.Count("covernote_logins_refused_total", "Logins refused", "");
  if (status >= 500) {
    metrics.Count("covernote_http_errors_total", "Requests that failed on the server", route);
  }
}

struct MetricsServer::Impl {
  asio::io_context io{1};
  asio::ip::tcp::acceptor acceptor{io};
  std::shared_ptr<Metrics> metrics;
  std::thread thread;

  void Accept() {
    acceptor.async_accept([this](beast::error_code error, asio::ip::tcp::socket socket) {
      if (error) return;
      try {
        Answer(std::move(socket));
      } catch (const std::exception& failure) {  // a scrape that failed ends with its socket
        spdlog::error("A metrics scrape failed: {}", failure.what());
      }
      Accept();
    });
  }

  // A scrape is small and rare: answered in turn, one request per connection.
  void Answer(asio::ip::tcp::socket socket) {
    beast::error_code error;
    beast::flat_buffer buffer;
    http::request<http::string_body> request;
    http::read(socket, buffer, request, error);
    if (error) return;
    http::response<http::string_body> response;
    response.version(request.version());
    response.keep_alive(false);
    if (request.target() == "/metrics" && request.method() == http::verb::get) {
      response.result(http::status::ok);
      response.set(http::field::content_type, "text/plain; version=0.0.4");
      response.body() = metrics->Render();
    } else {
      response.result(http::status::not_found);
      response.body() = "metrics are at /metrics\n";
    }
    response.prepare_payload();
    http::write(socket, response, error);
    socket.shutdown(asio::ip::tcp::socket::shutdown_both, error);
  }
};

MetricsServer::MetricsServer(const std::string& bind, unsigned short port,
                             std::shared_ptr<Metrics> metrics)
    : impl_(std::make_unique<Impl>()) {
  impl_->metrics = std::move(metrics);
  const asio::ip::tcp::endpoint endpoint(asio::ip::make_address(bind), port);
  impl_->acceptor.open(endpoint.protocol());
  impl_->acceptor.set_option(asio::socket_base::reuse_address(true));
  beast::error_code error;
  impl_->acceptor.bind(endpoint, error);
  if (error)
    throw std::runtime_error("metrics: cannot listen on " + bind + ":" + std::to_string(port) +
                             ": " + error.message());
  impl_->acceptor.listen();
  impl_->Accept();
  impl_->thread = std::thread([impl = impl_.get()] { impl->io.run(); });
}

MetricsServer::~MetricsServer() {
  impl_->io.stop();
  if (impl_->thread.joinable()) impl_->thread.join();
}

unsigned short MetricsServer::Port() const { return impl_->acceptor.local_endpoint().port(); }

}  // namespace cn::web
