#include "integration/components.h"

#include <utility>

#include "base/runtime_failure.h"

namespace cn {
namespace {

template <typename T>
std::unique_ptr<T> Create(const ComponentFactory<T>& factory, std::string_view name) {
  std::unique_ptr<T> instance = factory ? factory() : nullptr;
  if (!instance) {
    throw RuntimeFailure(failure::kCannotCreateComponent,
                         "Cannot create component " + std::string(name), std::string(name));
  }
  return instance;
}

}  // namespace

Components::Components(ComponentFactories factories) : factories_(std::move(factories)) {}

std::unique_ptr<BackendCommandService> Components::NewBackendCommandService() const {
  return Create(factories_.backend_command_service, "BackendCommandService");
}

std::unique_ptr<LocalTableService> Components::NewLocalTableService() const {
  return Create(factories_.local_table_service, "LocalTableService");
}

std::unique_ptr<MessageService> Components::NewMessageService() const {
  return Create(factories_.message_service, "MessageService");
}

std::unique_ptr<Registry> Components::NewRegistry() const {
  return Create(factories_.registry, "Registry");
}

FieldRuleService& Components::SharedFieldRuleService() const {
  if (!field_rule_service_) {
    field_rule_service_ = Create(factories_.field_rule_service, "FieldRuleService");
  }
  return *field_rule_service_;
}

InputCheckService& Components::SharedInputCheckService() const {
  if (!input_check_service_) {
    input_check_service_ = Create(factories_.input_check_service, "InputCheckService");
  }
  return *input_check_service_;
}

}  // namespace cn
