#include "components/shared_backend.h"

#include <spdlog/spdlog.h>

#include <chrono>

#include "integration/components.h"

namespace cn::components {

SharedBackend::SharedBackend(std::unique_ptr<backend::Backend> backend)
    : backend_(std::move(backend)) {}

// The screen is told that the database is not available, in words that name no host, port or
// file; those go to the log for whoever looks after the server.
backend::Result SharedBackend::Execute(std::string_view command, std::string_view parameters) {
  try {
    return Counted(command, parameters);
  } catch (const backend::StoreFailure& failure) {
    if (!failure.Unavailable()) throw;
    spdlog::error("{} failed: the database is not available: {}", command, failure.Text());
    throw RuntimeFailure(failure::kDatabaseUnavailable, std::string(kDatabaseUnavailableText),
                         failure.source());
  }
}

backend::Result SharedBackend::Counted(std::string_view command, std::string_view parameters) {
  if (!metrics_) return backend_->Execute(command, parameters);
  const std::string label = Metrics::Label("command", command);
  const auto start = std::chrono::steady_clock::now();
  try {
    backend::Result result = backend_->Execute(command, parameters);
    metrics_->Observe(
        "covernote_backend_command_seconds", "Back-end commands, by name", label,
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    return result;
  } catch (const std::exception&) {
    metrics_->Count("covernote_backend_failures_total", "Back-end commands that failed", label);
    throw;
  }
}

void SharedBackend::CountIn(std::shared_ptr<Metrics> metrics) {
  metrics_ = std::move(metrics);
  metrics_->Gauge(
      "covernote_db_connections_in_use", "Database connections lent to commands",
      [backend = backend_.get()] { return static_cast<double>(backend->pool().in_use()); });
}

std::string SharedBackend::Health() {
  try {
    return backend_->WithDatabase([](backend::Database& db) {
      // In a transaction, as a command is: a file deleted or replaced fails it.
      backend::Transaction reading(db, backend::Transaction::Kind::kDeferred);
      backend::Statement& probe = db.Prepare("SELECT 1");
      const bool answered = probe.Step();
      probe.Reset();
      reading.Commit();
      return answered ? std::string() : std::string("the database gave no answer");
    });
  } catch (const backend::StoreFailure& failure) {
    if (!failure.Unavailable()) return failure.description();
    // /healthz answers anyone who can reach the port: the address or file goes to the log,
    // once for each new fault rather than at every check of the balancer.
    const std::lock_guard lock(health_mutex_);
    if (failure.Text() != last_unavailable_)
      spdlog::error("The database is not available: {}", failure.Text());
    last_unavailable_ = failure.Text();
    return "the database is not available";
  } catch (const RuntimeFailure& failure) {
    return failure.description();
  }
}

std::shared_ptr<SharedBackend> OpenSharedBackend(const std::filesystem::path& path,
                                                 const Clock& clock,
                                                 backend::EndorsementWording wording) {
  backend::Backend::Options options;
  options.endorsements = std::move(wording);
  return std::make_shared<SharedBackend>(std::make_unique<backend::Backend>(path, clock, options));
}

}  // namespace cn::components
