#include "components/in_process_command_service.h"

#include <utility>

namespace cn::components {

InProcessCommandService::InProcessCommandService(std::shared_ptr<SharedBackend> backend)
    : backend_(std::move(backend)) {}

void InProcessCommandService::ExecuteCommand(std::string_view command,
                                             std::string_view parameters, std::string& reply,
                                             std::int32_t& status) {
  backend::Result result = backend_->Execute(command, parameters);
  reply = std::move(result.reply);
  status = result.status;
}

}  // namespace cn::components
