#include "components/settings_registry.h"

#include <utility>

namespace cn::components {

SettingsRegistry::SettingsRegistry(std::shared_ptr<const Settings> settings)
    : settings_(std::move(settings)) {}

std::string SettingsRegistry::GetKeyValue(std::uint32_t root, std::string_view key_path,
                                          std::string_view value_name) {
  if (root != kLocalMachineRoot) return {};
  return settings_->Find(key_path, value_name).value_or(std::string());
}

OverridingRegistry::OverridingRegistry(std::unique_ptr<Registry> shared,
                                       std::shared_ptr<const Settings> overrides)
    : shared_(std::move(shared)), overrides_(std::move(overrides)) {}

std::string OverridingRegistry::GetKeyValue(std::uint32_t root, std::string_view key_path,
                                            std::string_view value_name) {
  if (root == kLocalMachineRoot) {
    if (auto value = overrides_->Find(key_path, value_name)) return std::move(*value);
  }
  return shared_->GetKeyValue(root, key_path, value_name);
}

std::vector<SettingValue> IdentityOverrides(std::string_view user_id, std::string_view agent_code,
                                            std::string_view agent_type, std::string_view role) {
  const std::string key(kUserIdKeyPath);
  return {
      {key, "_CurrentUserID", std::string(user_id)},
      {key, "_CurrentAgentCode", std::string(agent_code)},
      {key, "_CurrentAgentType", std::string(agent_type)},
      {key, "_CurrentRole", std::string(role)},
  };
}

}  // namespace cn::components
