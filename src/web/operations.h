#pragma once
// What the people who run the servers need besides the screen: /healthz on the
// screen's own port for the load balancer, and /metrics in the Prometheus text format
// on an address of its own, kept off the network the browsers use.

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <thread>

#include "base/metrics.h"

namespace cn::web {

// Every log line of the web layer carries the server's name, so that the logs of
// several servers behind one balancer can be told apart.
void NameTheLogs(std::string_view server_name);

// "" when the server can serve (its database answers), else why not.
using HealthCheck = std::function<std::string()>;

struct HealthAnswer {
  int status;  // 200 or 503
  std::string body;
};
HealthAnswer CheckHealth(const HealthCheck& check, std::string_view server_name);

// The route a request is counted under: the path for the API and the login, "static"
// for files, and for an event its kind and name ("/api/event element click").
std::string MetricRoute(std::string_view path, std::string_view body);

// One answered request: its latency by route, refused logins and server errors.
void RecordRequest(Metrics& metrics, std::string_view route, int status, std::string_view location,
                   std::chrono::steady_clock::duration took);

// Serves GET /metrics on its own thread until destroyed.
class MetricsServer {
 public:
  // Binds at once; a port in use is a std::runtime_error.
  MetricsServer(const std::string& bind, unsigned short port, std::shared_ptr<Metrics> metrics);
  MetricsServer(const MetricsServer&) = delete;
  MetricsServer& operator=(const MetricsServer&) = delete;
  ~MetricsServer();
  unsigned short Port() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace cn::web
