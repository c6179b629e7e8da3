#include "integration/service_gateway.h"

#include <exception>

#include "base/runtime_failure.h"

namespace cn {

ServiceGateway::ServiceGateway(const Components& components) : components_(components) {}

ServiceGateway::~ServiceGateway() = default;

CommandReply ServiceGateway::ExecuteCommand(std::string_view command,
                                            std::string_view parameters) {
  if (!service_) service_ = components_.NewBackendCommandService();
  CommandReply result;
  try {
    service_->ExecuteCommand(command, parameters, result.reply, result.status);
  } catch (const RuntimeFailure&) {
    service_.reset();
    throw;
  } catch (const std::exception& e) {
    service_.reset();
    throw RuntimeFailure(failure::kComponentCallFailed, e.what(), std::string(command));
  }
  return result;
}

}  // namespace cn
