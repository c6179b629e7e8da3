#include "components/shared_backend.h"

namespace cn::components {

SharedBackend::SharedBackend(std::unique_ptr<backend::Backend> backend)
    : backend_(std::move(backend)) {}

backend::Result SharedBackend::Execute(std::string_view command, std::string_view parameters) {
  return backend_->Execute(command, parameters);
}

std::shared_ptr<SharedBackend> OpenSharedBackend(const std::filesystem::path& path,
                                                 const Clock& clock) {
  return std::make_shared<SharedBackend>(std::make_unique<backend::Backend>(path, clock));
}

}  // namespace cn::components
