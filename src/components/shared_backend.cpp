#include "components/shared_backend.h"

#include <chrono>

namespace cn::components {

SharedBackend::SharedBackend(std::unique_ptr<backend::Backend> backend)
    : backend_(std::move(backend)) {}

backend::Result SharedBackend::Execute(std::string_view command, std::string_view parameters) {
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
      backend::Statement& probe = db.Prepare("SELECT 1");
      const bool answered = probe.Step();
      probe.Reset();
      return answered ? std::string() : std::string("the database gave no answer");
    });
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
