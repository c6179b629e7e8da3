#pragma once
// The registry component of the product, reading the settings file, and a
// wrapper that lets one session see its own values (a logged-in user's identity)
// over the shared ones.

#include <memory>
#include <string_view>
#include <vector>

#include "components/settings_file.h"
#include "integration/components.h"

namespace cn::components {

class SettingsRegistry final : public Registry {
 public:
  explicit SettingsRegistry(std::shared_ptr<const Settings> settings);

  // The value's text; "" for a missing value or key path, and for any root other
  // than the local machine's.
  std::string GetKeyValue(std::uint32_t root, std::string_view key_path,
                          std::string_view value_name) override;

 private:
  std::shared_ptr<const Settings> settings_;
};

class OverridingRegistry final : public Registry {
 public:
  OverridingRegistry(std::unique_ptr<Registry> shared, std::shared_ptr<const Settings> overrides);

  // An overridden value (local-machine root only), else the shared registry's.
  std::string GetKeyValue(std::uint32_t root, std::string_view key_path,
                          std::string_view value_name) override;

 private:
  std::unique_ptr<Registry> shared_;
  std::shared_ptr<const Settings> overrides_;
};

// The identity values of one logged-in user.
std::vector<SettingValue> IdentityOverrides(std::string_view user_id, std::string_view agent_code,
                                            std::string_view agent_type,
                                            std::string_view role = "amend");

}  // namespace cn::components
